// Fixture of the opener tests: an in-memory Env with a fake clock, a recording
// sink and wait observer, and an OpenerContext over them with the folders made.
#ifndef DODU_TESTS_STORE_OPENER_TESTUTIL_H_
#define DODU_TESTS_STORE_OPENER_TESTUTIL_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory_env.h"
#include "platform/message_sink.h"
#include "store/opener_context.h"

namespace dodu::store::testing {

#define OPENER_ASSERT_OK(expr)                          \
  do {                                                  \
    const ::dodu::Status st_ = (expr);                  \
    ASSERT_TRUE(st_.ok()) << st_.ToString();            \
  } while (0)

class OpenerFixture : public ::testing::Test {
 protected:
  OpenerFixture() : ctx(env, sink, wait) {
    ctx.terminal = "01";
    ctx.installation_folder = "/inst";
    ctx.data_folder = "/data";
    ctx.work_folder = "/work";
    for (const char* f : {"/inst", "/data", "/work"}) EXPECT_TRUE(env.CreateDir(f).ok());
  }

  // Texts of every box shown so far, each box's lines joined by " / ".
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> out;
    for (const auto& b : sink.boxes) {
      std::string s;
      for (const std::string& l : b.lines) s += (s.empty() ? "" : " / ") + l;
      out.push_back(s);
    }
    return out;
  }

  platform::MemoryEnv env;
  platform::RecordingSink sink;
  RecordingWaitObserver wait;
  OpenerContext ctx;
};

}  // namespace dodu::store::testing

#endif  // DODU_TESTS_STORE_OPENER_TESTUTIL_H_
