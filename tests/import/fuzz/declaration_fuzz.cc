// libFuzzer target of the official-file readers (clang builds only):
//   import_fuzz -max_total_time=60 CORPUS_DIR tests/import/fuzz/seeds
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "import/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  dodu::import::testing::FuzzOneInput(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
