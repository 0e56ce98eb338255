#include "core/time_helpers.h"

#include <cstdio>

namespace dodu::core {
namespace {

constexpr int64_t kDay = 86400;

// VAL() of SUBSTR(text, pos + 1, 2).
int64_t Part(std::string_view text, size_t pos) {
  if (pos >= text.size()) return 0;
  std::string_view p = text.substr(pos, 2);
  size_t i = 0;
  while (i < p.size() && p[i] == ' ') ++i;
  int64_t v = 0;
  for (; i < p.size() && p[i] >= '0' && p[i] <= '9'; ++i) v = v * 10 + (p[i] - '0');
  return v;
}

}  // namespace

int64_t HoraSeg(std::string_view hhmmss) {
  return Part(hhmmss, 0) * 3600 + Part(hhmmss, 3) * 60 + Part(hhmmss, 6);
}

std::string SegHora(int64_t seconds) {
  int64_t s = ((seconds % kDay) + kDay) % kDay;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", static_cast<int>(s / 3600),
                static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
  return buf;
}

std::string SegHor2(int64_t seconds) {
  int64_t s = seconds < 0 ? 0 : seconds;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02dD%02dh%02dm", static_cast<int>(s / kDay % 99),
                static_cast<int>(s % kDay / 3600), static_cast<int>(s % 3600 / 60));
  return buf;
}

int64_t TempoPas(std::string_view start, std::string_view end) {
  int64_t d = HoraSeg(end) - HoraSeg(start);
  return d < 0 ? d + kDay : d;
}

std::string TempoPasText(std::string_view start, std::string_view end) {
  return SegHora(TempoPas(start, end));
}

}  // namespace dodu::core
