// Entry point of dodu2020. Until the start-up is built this is a placeholder.
#include <cstdio>

int main(int, char**) {
  std::puts("dodu2020");
  return 0;
}
