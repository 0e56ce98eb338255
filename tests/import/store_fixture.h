// A destination data folder in memory for the apply tests: an in-memory Env
// with its fake clock, a recording sink and wait observer, and the station's
// context with the installation, data and work folders made.
#ifndef DODU_TESTS_IMPORT_STORE_FIXTURE_H_
#define DODU_TESTS_IMPORT_STORE_FIXTURE_H_

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/env.h"
#include "platform/memory_env.h"
#include "platform/message_sink.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::import::testing {

class StoreFixture : public ::testing::Test {
 protected:
  StoreFixture() : ctx(env, sink, wait) {
    ctx.terminal = "01";
    ctx.installation_folder = "/inst";
    ctx.data_folder = "/data";
    ctx.work_folder = "/work";
    for (const char* f : {"/inst", "/data", "/work", "/src"}) EXPECT_TRUE(env.CreateDir(f).ok());
  }

  void WriteFile(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(platform::WriteFileAtomic(env, path, bytes).ok());
  }

  // Every file of the data folder with its bytes.
  std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> out;
    auto list = env.ListDir("/data");
    if (!list.ok()) return out;
    for (const platform::DirEntry& e : *list) {
      if (e.is_dir) continue;
      auto bytes = platform::ReadWholeFile(env, "/data/" + e.name);
      out[e.name] = bytes.ok() ? *bytes : "<unreadable>";
    }
    return out;
  }

  platform::MemoryEnv env;
  platform::RecordingSink sink;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx;
  store::WorkAreas areas;
};

}  // namespace dodu::import::testing

#endif  // DODU_TESTS_IMPORT_STORE_FIXTURE_H_
