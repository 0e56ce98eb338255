#include "platform/fake_clock.h"

#include <cassert>

namespace dodu::platform {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

bool IsValidCivilTime(const CivilTime& t) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12) return false;
  bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
  int days = kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0);
  return t.day >= 1 && t.day <= days && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
         t.minute < 60 && t.second >= 0 && t.second < 60;
}

int64_t ToEpochSeconds(const CivilTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

CivilTime FromEpochSeconds(int64_t seconds) {
  int64_t days = FloorDiv(seconds, 86400);
  int64_t rest = seconds - days * 86400;
  CivilTime t;
  CivilFromDays(days, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

CivilTime StartOfDay(const CivilTime& t) {
  CivilTime d = t;
  d.hour = d.minute = d.second = 0;
  return d;
}

FakeClock::FakeClock() : FakeClock(CivilTime{2020, 3, 2, 9, 0, 0}) {}

FakeClock::FakeClock(const CivilTime& start) { Set(start); }

CivilTime FakeClock::Now() const { return FromEpochSeconds(FloorDiv(wall_ms_, 1000)); }

void FakeClock::SleepFor(std::chrono::milliseconds d) {
  ++sleep_calls_;
  if (d.count() > 0) slept_ms_ += d.count();
  Advance(d);
}

void FakeClock::Set(const CivilTime& t) {
  assert(IsValidCivilTime(t) && "FakeClock::Set with an invalid time");
  wall_ms_ = ToEpochSeconds(t) * 1000;
}

void FakeClock::Advance(std::chrono::milliseconds d) {
  if (d.count() <= 0) return;
  wall_ms_ += d.count();
  monotonic_ms_ += d.count();
}

}  // namespace dodu::platform
