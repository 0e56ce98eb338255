#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/env.h"
#include "platform/testutil.h"

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

// Regression: a program that cannot be started must not look like one that ran
// and succeeded (the hand-over and the backup check the result).
TEST_F(PosixEnvTest, SpawnOfAMissingProgramIsAnError) {
  auto r = env_->Spawn({"dodu-no-such-program-xyz", "arg"}, {});
  ASSERT_FALSE(r.ok()) << "exit status " << r->exit_status;
  EXPECT_TRUE(r.status().IsNotFound()) << r.status().ToString();

  SpawnOptions nowait;
  nowait.wait = false;
  EXPECT_FALSE(env_->Spawn({dir_ + "/none"}, nowait).ok());

  SpawnOptions bad_cwd;
  bad_cwd.cwd = dir_ + "/no-such-folder";
  EXPECT_FALSE(env_->Spawn({"true"}, bad_cwd).ok());
}

TEST_F(PosixEnvTest, SpawnReturnsTheExitStatusAndUsesCwdAndEnvironment) {
  std::string out = dir_ + "/out.txt";
  SpawnOptions opt;
  opt.cwd = dir_;
  opt.stdout_path = out;
  opt.extra_env = {{"DODU_PROBE", "valor com espaço"}};
  auto r = env_->Spawn({"sh", "-c", "pwd; printf '%s' \"$DODU_PROBE\"; exit 3"}, opt);
  ASSERT_OK(r);
  EXPECT_EQ(r->exit_status, 3);
  EXPECT_EQ(*ReadWholeFile(*env_, out), dir_ + "\nvalor com espaço");

  auto killed = env_->Spawn({"sh", "-c", "kill -9 $$"}, {});
  ASSERT_OK(killed);
  EXPECT_EQ(killed->exit_status, 128 + SIGKILL);
}

TEST_F(PosixEnvTest, AProgramStartedWithoutWaitingIsWaitedForLater) {
  SpawnOptions opt;
  opt.wait = false;
  auto r = env_->Spawn({"sh", "-c", "exit 5"}, opt);
  ASSERT_OK(r);
  EXPECT_GT(r->pid, 0);
  auto done = env_->Wait(r->pid);
  ASSERT_OK(done);
  EXPECT_EQ(done->exit_status, 5);
  EXPECT_TRUE(env_->Wait(r->pid).status().IsNotFound());
}

// One station dies while holding a record lock: the lock must vanish with it.
TEST_F(PosixEnvTest, LocksOfAKilledProcessVanish) {
  std::string path = dir_ + "/IMP0920.DBF";
  { ASSERT_OK(env_->Open(path, OpenMode::kCreate)); }
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(ready[0]);
    auto env = NewPosixEnv();
    auto f = env->Open(path, OpenMode::kReadWrite);
    char ok = (f.ok() && (*f)->TryLock(1000, 1, LockType::kExclusive).ok()) ? 'y' : 'n';
    (void)!write(ready[1], &ok, 1);
    for (;;) pause();
  }
  close(ready[1]);
  char got = 0;
  ASSERT_EQ(read(ready[0], &got, 1), 1);
  close(ready[0]);
  auto f = env_->Open(path, OpenMode::kReadWrite);
  ASSERT_OK(f);
  EXPECT_EQ(got, 'y');
  EXPECT_TRUE((*f)->TryLock(1000, 1, LockType::kExclusive).IsLocked());
  EXPECT_OK((*f)->TryLock(1001, 1, LockType::kExclusive));
  kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_OK((*f)->TryLock(1000, 1, LockType::kExclusive));
}

TEST_F(PosixEnvTest, TmpIsNotANetworkFolder) {
  auto net = env_->IsNetworkFilesystem("/tmp");
  ASSERT_OK(net);
  EXPECT_FALSE(*net);
  EXPECT_TRUE(env_->IsNetworkFilesystem(dir_ + "/none").status().IsNotFound());
  auto free = env_->FreeSpace(dir_);
  ASSERT_OK(free);
  EXPECT_GT(*free, 0u);
}

// Regression: the temporary of an atomic write was "<name>.tmp~" for everyone, so
// two stations replacing one file at once wrote into the same temporary.
TEST_F(PosixEnvTest, TemporaryNamesCarryTheProcessAndNeverRepeat) {
  std::string path = dir_ + "/CONFIG.DBF";
  std::string a = TemporaryNameFor(*env_, path);
  std::string b = TemporaryNameFor(*env_, path);
  EXPECT_NE(a, b);
  EXPECT_EQ(a.rfind(path + "." + std::to_string(getpid()) + "-", 0), 0u) << a;
  EXPECT_TRUE(a.ends_with(".tmp~")) << a;

  // A temporary left by another station (same name by chance) is not reused.
  std::string next = TemporaryNameFor(*env_, path);
  auto taken_name = [&](int ahead) {
    std::string n = next.substr(0, next.rfind('-') + 1);
    uint64_t count = std::stoull(next.substr(next.rfind('-') + 1));
    return n + std::to_string(count + ahead) + ".tmp~";
  };
  {
    auto squatter = env_->Open(taken_name(1), OpenMode::kCreateNew);
    ASSERT_OK(squatter);
    ASSERT_OK((*squatter)->WriteAt(0, std::as_bytes(std::span("theirs", 6))));
  }
  ASSERT_OK(WriteFileAtomic(*env_, path, "mine"));
  EXPECT_EQ(*ReadWholeFile(*env_, taken_name(1)), "theirs");
  EXPECT_EQ(*ReadWholeFile(*env_, path), "mine");
}

TEST_F(PosixEnvTest, MissingFileIsNotFound) {
  auto f = env_->Open(dir_ + "/none", OpenMode::kRead);
  ASSERT_FALSE(f.ok());
  EXPECT_TRUE(f.status().IsNotFound());
}

}  // namespace
}  // namespace dodu::platform
