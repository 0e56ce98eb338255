#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/env.h"

namespace dodu::platform {
namespace {

class PosixEnvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/dodu_env_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  std::unique_ptr<Env> env_ = NewPosixEnv();
  std::string dir_;
};

TEST_F(PosixEnvTest, LocksConflictBetweenTwoOpensOfOneProcess) {
  auto a = env_->Open(dir_ + "/t.lck", OpenMode::kCreate);
  auto b = env_->Open(dir_ + "/t.lck", OpenMode::kCreate);
  ASSERT_TRUE(a.ok() && b.ok());
  ASSERT_TRUE((*a)->TryLock(10, 1, LockType::kExclusive).ok());
  EXPECT_TRUE((*b)->TryLock(10, 1, LockType::kShared).IsLocked());
  EXPECT_TRUE((*b)->TryLock(11, 1, LockType::kExclusive).ok());
  ASSERT_TRUE((*a)->Unlock(10, 1).ok());
  EXPECT_TRUE((*b)->TryLock(10, 1, LockType::kShared).ok());
}

TEST_F(PosixEnvTest, AtomicWriteReplacesAndReadsBack) {
  std::string path = dir_ + "/f.txt";
  ASSERT_TRUE(WriteFileAtomic(*env_, path, "old").ok());
  ASSERT_TRUE(WriteFileAtomic(*env_, path, "new contents").ok());
  auto data = ReadWholeFile(*env_, path);
  ASSERT_TRUE(data.ok());
  EXPECT_EQ(*data, "new contents");
  auto list = env_->ListDir(dir_);
  ASSERT_TRUE(list.ok());
  ASSERT_EQ(list->size(), 1u);  // no temporary left behind
}

TEST_F(PosixEnvTest, SpawnPassesArgumentWithBlanksIntact) {
  std::string out = dir_ + "/out.txt";
  SpawnOptions opt;
  opt.stdout_path = out;
  auto r = env_->Spawn({"printf", "[%s]", "two words  and\ttab"}, opt);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->exit_status, 0);
  EXPECT_EQ(*ReadWholeFile(*env_, out), "[two words  and\ttab]");
}

TEST_F(PosixEnvTest, MissingFileIsNotFound) {
  auto f = env_->Open(dir_ + "/none", OpenMode::kRead);
  ASSERT_FALSE(f.ok());
  EXPECT_TRUE(f.status().IsNotFound());
}

}  // namespace
}  // namespace dodu::platform
