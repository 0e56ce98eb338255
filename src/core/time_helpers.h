// Time-of-day arithmetic on "HH:MM:SS" texts and second counts: the working-time
// clock of a declaration and the agenda use these.
#ifndef DODU_CORE_TIME_HELPERS_H_
#define DODU_CORE_TIME_HELPERS_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace dodu::core {

// HORA_SEG("HH:MM:SS") = HH x 3600 + MM x 60 + SS. Each part is read as VAL()
// reads two characters (a part that is not a number counts as 0).
int64_t HoraSeg(std::string_view hhmmss);

// SEG_HORA(seconds): "HH:MM:SS", hours taken modulo 24. Negative counts are taken
// modulo one day as well.
std::string SegHora(int64_t seconds);

// SEG_HOR_2(seconds): days modulo 99 (2 digits) + "D" + hours (2) + "h" + minutes
// (2) + "m": 90061 s -> "01D01h01m". Negative counts are treated as 0.
std::string SegHor2(int64_t seconds);

// TEMPO_PAS(start, end, 0): seconds from `start` to `end` ("HH:MM:SS"), adding a
// day when `end` is earlier (midnight passed): 23:59:00 -> 00:01:00 is 120.
int64_t TempoPas(std::string_view start, std::string_view end);
// TEMPO_PAS(start, end, 1): the same as "HH:MM:SS".
std::string TempoPasText(std::string_view start, std::string_view end);

}  // namespace dodu::core

#endif  // DODU_CORE_TIME_HELPERS_H_
