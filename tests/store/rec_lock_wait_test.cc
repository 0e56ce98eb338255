// The half-second retry loop: limits, Esc, status-bar texts, no spinning.
#include "store/rec_lock_wait.h"

#include <gtest/gtest.h>

#include "store/opener_testutil.h"

namespace dodu::store {
namespace {

class WaitTest : public testing::OpenerFixture {
 protected:
  // An attempt refused `refusals` times, then granted.
  std::function<Status()> GrantedAfter(int refusals) {
    return [this, refusals] {
      ++attempts;
      return attempts > refusals ? Status::Ok() : Status::Locked("held");
    };
  }
  int attempts = 0;
};

TEST_F(WaitTest, GrantedAtOnceShowsNothing) {
  OPENER_ASSERT_OK(WaitWhileLocked(ctx, {2000, true, "esperando"}, GrantedAfter(0)));
  EXPECT_EQ(attempts, 1);
  EXPECT_TRUE(wait.texts.empty());
  EXPECT_EQ(env.fake_clock().slept_ms(), 0);
}

TEST_F(WaitTest, ZeroLimitFailsAtOnce) {
  Status st = WaitWhileLocked(ctx, {0, true, "esperando"}, GrantedAfter(1));
  EXPECT_TRUE(st.IsLocked());
  EXPECT_EQ(attempts, 1);
  EXPECT_EQ(env.fake_clock().slept_ms(), 0);
}

TEST_F(WaitTest, RetriesEveryHalfSecondUntilGranted) {
  OPENER_ASSERT_OK(WaitWhileLocked(ctx, {5000, true, "esperando"}, GrantedAfter(3)));
  EXPECT_EQ(attempts, 4);
  EXPECT_EQ(env.fake_clock().sleep_calls(), 3);
  EXPECT_EQ(env.fake_clock().slept_ms(), 1500);
  EXPECT_EQ(wait.texts, (std::vector<std::string>{"esperando", ""}));
}

TEST_F(WaitTest, TimeRunsOut) {
  Status st = WaitWhileLocked(ctx, {2000, true, "esperando"}, GrantedAfter(100));
  EXPECT_TRUE(st.IsLocked());
  EXPECT_EQ(attempts, 5);  // at once, then at 0.5, 1.0, 1.5 and 2.0 seconds
  EXPECT_EQ(env.fake_clock().slept_ms(), 2000);
  EXPECT_EQ(wait.texts.back(), "");
}

TEST_F(WaitTest, EscStopsALimitedWait) {
  wait.on_poll = [](int poll) { return poll == 2; };
  Status st = WaitWhileLocked(ctx, {5000, true, "esperando"}, GrantedAfter(100));
  EXPECT_TRUE(st.IsCancelled());
  EXPECT_EQ(attempts, 2);
}

TEST_F(WaitTest, UnlimitedWaitIgnoresEscAndEndsWhenGranted) {
  wait.on_poll = [](int) { return true; };  // Esc on every poll
  OPENER_ASSERT_OK(WaitWhileLocked(ctx, {std::nullopt, false, "esperando"}, GrantedAfter(40)));
  EXPECT_EQ(attempts, 41);
  EXPECT_EQ(wait.polls, 40);
  EXPECT_EQ(env.fake_clock().slept_ms(), 20000);
}

TEST_F(WaitTest, OtherErrorsAreNotRetried) {
  int calls = 0;
  Status st = WaitWhileLocked(ctx, {5000, true, "x"}, [&] {
    ++calls;
    return Status::IoError("disk");
  });
  EXPECT_EQ(st.code(), StatusCode::kIoError);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace dodu::store
