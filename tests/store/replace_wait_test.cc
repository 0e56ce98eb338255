#include "store/replace_wait.h"

#include <gtest/gtest.h>

#include "platform/memory_env.h"
#include "platform/message_sink.h"

namespace dodu::store {
namespace {

struct WaitFixture {
  WaitFixture() : ctx(env, sink, wait) {}
  platform::MemoryEnv env;
  platform::RecordingSink sink;
  RecordingWaitObserver wait;
  OpenerContext ctx;
  // Locked for the first `locked` attempts.
  std::function<Status()> FreeAfter(int locked) {
    return [this, locked] {
      return ++attempts <= locked ? Status::Locked("IMP0420.DBF") : Status::Ok();
    };
  }
  int attempts = 0;
};

// The wait retried at once and without pause; it must sleep 100 to 250 ms
// between attempts and show the waiting text meanwhile.
TEST(ReplaceWaitTest, RetriesEvery100To250Ms) {
  WaitFixture f;
  std::vector<int64_t> pauses;
  int64_t last = f.env.fake_clock().MonotonicMillis();
  f.wait.on_poll = [&](int) {
    int64_t now = f.env.fake_clock().MonotonicMillis();
    pauses.push_back(now - last);
    last = now;
    return false;
  };
  ASSERT_TRUE(WaitForExclusive(f.ctx, SaveWaitRule(4, "20"), f.FreeAfter(40)).ok());
  EXPECT_EQ(f.attempts, 41);
  EXPECT_EQ(f.env.fake_clock().sleep_calls(), 40);
  for (size_t i = 1; i < pauses.size(); ++i) {
    EXPECT_GE(pauses[i], kExclusiveRetryMinMs);
    EXPECT_LE(pauses[i], kExclusiveRetryMaxMs);
  }
  EXPECT_EQ(f.wait.texts, (std::vector<std::string>{WaitingOtherTerminal(), ""}));
  EXPECT_NE(ExclusiveRetryPauseMs(1, 1), ExclusiveRetryPauseMs(2, 1));
}

TEST(ReplaceWaitTest, FreeAtOnceShowsNothing) {
  WaitFixture f;
  ASSERT_TRUE(WaitForExclusive(f.ctx, LoadWaitRule(), f.FreeAfter(0)).ok());
  EXPECT_TRUE(f.wait.texts.empty());
  EXPECT_EQ(f.env.fake_clock().sleep_calls(), 0);
  // Other failures are not retried.
  Status st = WaitForExclusive(f.ctx, LoadWaitRule(), [] { return Status::IoError("disk"); });
  EXPECT_EQ(st.code(), StatusCode::kIoError);
}

TEST(ReplaceWaitTest, EscCancelsTheLoadButNotTheSave) {
  WaitFixture load;
  load.wait.on_poll = [](int poll) { return poll == 3; };
  EXPECT_TRUE(WaitForExclusive(load.ctx, LoadWaitRule(), load.FreeAfter(100)).IsCancelled());
  EXPECT_EQ(load.attempts, 3);
  EXPECT_EQ(load.wait.texts.back(), "");

  WaitFixture save;
  save.wait.on_poll = [](int) { return true; };
  EXPECT_TRUE(WaitForExclusive(save.ctx, SaveWaitRule(4, "20"), save.FreeAfter(10)).ok());
}

TEST(ReplaceWaitTest, TheSaveAsksAfterAWhile) {
  WaitFixture f;
  std::vector<std::vector<std::string>> asked;
  f.ctx.confirm = [&](const std::vector<std::string>& lines) {
    asked.push_back(lines);
    return asked.size() < 2;  // keep waiting once, then give up
  };
  Status st = WaitForExclusive(f.ctx, SaveWaitRule(4, "20", 5000), f.FreeAfter(100000));
  EXPECT_TRUE(st.IsCancelled());
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], (std::vector<std::string>{"Outro terminal esta usando o arquivo IMP0420.DBF",
                                                "                Aguarde ?"}));
  EXPECT_GE(f.env.fake_clock().slept_ms(), 10000);
  EXPECT_LT(f.env.fake_clock().slept_ms(), 10000 + 2 * kExclusiveRetryMaxMs);
}

}  // namespace
}  // namespace dodu::store
