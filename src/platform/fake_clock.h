// A clock that tests (and the in-memory Env) set by hand, and the calendar
// arithmetic on CivilTime it needs. Waiting on a FakeClock advances it at once, so
// code that retries a lock for five seconds runs instantly and deterministically.
#ifndef DODU_PLATFORM_FAKE_CLOCK_H_
#define DODU_PLATFORM_FAKE_CLOCK_H_

#include <chrono>
#include <cstdint>

#include "platform/env.h"

namespace dodu::platform {

// True for a real date (1..9999, leap years kept) with a time in 00:00:00..23:59:59.
bool IsValidCivilTime(const CivilTime& t);
// Seconds since 1970-01-01 00:00:00 of the same calendar (no time zone involved).
int64_t ToEpochSeconds(const CivilTime& t);
CivilTime FromEpochSeconds(int64_t seconds);
// The date of `t` at 00:00:00.
CivilTime StartOfDay(const CivilTime& t);

class FakeClock final : public Clock {
 public:
  // Starts at 2020-03-02 09:00:00 (a Monday of the declaration season), monotonic 0.
  FakeClock();
  explicit FakeClock(const CivilTime& start);

  CivilTime Now() const override;
  // Advances both clocks by `d`; never blocks.
  void SleepFor(std::chrono::milliseconds d) override;
  int64_t MonotonicMillis() const override { return monotonic_ms_; }

  // Moves the wall clock (as an operator changing the date would); the monotonic
  // clock is not affected. An invalid time is a programming error.
  void Set(const CivilTime& t);
  // Advances the wall clock and the monotonic clock together.
  void Advance(std::chrono::milliseconds d);
  void Advance(int64_t ms) { Advance(std::chrono::milliseconds(ms)); }

  // Total time spent in SleepFor, and the number of calls (to check that a retry
  // loop waited instead of spinning).
  int64_t slept_ms() const { return slept_ms_; }
  int sleep_calls() const { return sleep_calls_; }

 private:
  int64_t wall_ms_ = 0;  // milliseconds since 1970-01-01 of the civil calendar
  int64_t monotonic_ms_ = 0;
  int64_t slept_ms_ = 0;
  int sleep_calls_ = 0;
};

}  // namespace dodu::platform

#endif  // DODU_PLATFORM_FAKE_CLOCK_H_
