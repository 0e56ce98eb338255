#include "platform/fake_clock.h"

#include <gtest/gtest.h>

namespace dodu::platform {
namespace {

TEST(CivilTimeTest, EpochRoundTripAndKnownDays) {
  struct Case {
    CivilTime t;
    int64_t seconds;
  };
  const Case cases[] = {
      {{1970, 1, 1, 0, 0, 0}, 0},           {{1969, 12, 31, 23, 59, 59}, -1},
      {{2000, 2, 29, 12, 0, 0}, 951825600}, {{2020, 6, 30, 23, 59, 59}, 1593561599},
      {{1900, 3, 1, 0, 0, 0}, -2203891200},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToEpochSeconds(c.t), c.seconds) << c.t.year << "-" << c.t.month << "-" << c.t.day;
    EXPECT_EQ(FromEpochSeconds(c.seconds), c.t) << c.seconds;
  }
}

TEST(CivilTimeTest, Validity) {
  EXPECT_TRUE(IsValidCivilTime({2020, 2, 29, 0, 0, 0}));
  EXPECT_FALSE(IsValidCivilTime({2019, 2, 29, 0, 0, 0}));
  EXPECT_FALSE(IsValidCivilTime({1900, 2, 29, 0, 0, 0}));
  EXPECT_TRUE(IsValidCivilTime({2000, 2, 29, 23, 59, 59}));
  EXPECT_FALSE(IsValidCivilTime({2020, 4, 31, 0, 0, 0}));
  EXPECT_FALSE(IsValidCivilTime({2020, 13, 1, 0, 0, 0}));
  EXPECT_FALSE(IsValidCivilTime({2020, 1, 1, 24, 0, 0}));
  EXPECT_FALSE(IsValidCivilTime({2020, 1, 1, 0, 60, 0}));
  EXPECT_FALSE(IsValidCivilTime({0, 1, 1, 0, 0, 0}));
}

TEST(FakeClockTest, AdvanceCrossesDaysMonthsAndLeapYears) {
  FakeClock clock({2020, 2, 28, 23, 59, 59});
  clock.Advance(1000);
  EXPECT_EQ(clock.Now(), (CivilTime{2020, 2, 29, 0, 0, 0}));
  clock.Advance(int64_t{86400} * 1000);
  EXPECT_EQ(clock.Now(), (CivilTime{2020, 3, 1, 0, 0, 0}));
  clock.Set({2019, 12, 31, 23, 59, 59});
  clock.Advance(999);  // milliseconds add up without showing
  EXPECT_EQ(clock.Now().year, 2019);
  clock.Advance(1);
  EXPECT_EQ(clock.Now(), (CivilTime{2020, 1, 1, 0, 0, 0}));
}

TEST(FakeClockTest, SleepAdvancesBothClocksSetOnlyTheWallClock) {
  FakeClock clock;
  EXPECT_EQ(clock.Now(), (CivilTime{2020, 3, 2, 9, 0, 0}));
  EXPECT_EQ(clock.MonotonicMillis(), 0);
  clock.SleepFor(std::chrono::milliseconds(1500));
  clock.SleepFor(std::chrono::milliseconds(500));
  EXPECT_EQ(clock.Now(), (CivilTime{2020, 3, 2, 9, 0, 2}));
  EXPECT_EQ(clock.MonotonicMillis(), 2000);
  EXPECT_EQ(clock.slept_ms(), 2000);
  EXPECT_EQ(clock.sleep_calls(), 2);
  clock.Set({2019, 1, 1, 8, 0, 0});  // the operator moves the date back
  EXPECT_EQ(clock.MonotonicMillis(), 2000);
  clock.Advance(-5);  // time never runs backwards
  EXPECT_EQ(clock.MonotonicMillis(), 2000);
}

TEST(FakeClockTest, TodayAndSecondsSinceMidnight) {
  FakeClock clock({2020, 6, 30, 13, 45, 10});
  EXPECT_EQ(clock.SecondsSinceMidnight(), 13 * 3600 + 45 * 60 + 10);
  EXPECT_EQ(clock.Today(), (CivilTime{2020, 6, 30, 0, 0, 0}));
  EXPECT_EQ(StartOfDay(clock.Now()), clock.Today());
}

TEST(SystemClockTest, GivesAValidTimeAndAMonotonicCount) {
  auto clock = NewSystemClock();
  EXPECT_TRUE(IsValidCivilTime(clock->Now()));
  int64_t a = clock->MonotonicMillis();
  clock->SleepFor(std::chrono::milliseconds(2));
  EXPECT_GE(clock->MonotonicMillis(), a + 2);
}

}  // namespace
}  // namespace dodu::platform
