// Sharing between stations on the real filesystem: two Table objects of this
// process are two stations (open-file-description locks), and forked children
// show that a dead station's locks vanish.
#include "store/lock_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "dbf_testutil.h"
#include "platform/memory_env.h"
#include "store/table.h"

namespace dodu::store {
namespace {

using testing::C;
using testing::Dec;
using testing::N;

class LockTest : public ::testing::Test {
 protected:
  LockTest() : env(platform::NewPosixEnv()), path(dir / "IMP0920.DBF") {}
  void SetUp() override {
    auto t = Table::Create(*env, path, {C("CPF", 3), N("V", 5, 2)}, Sharing::kExclusive);
    ASSERT_OK(t);
    for (const char* c : {"AAA", "BBB", "CCC"}) {
      Record r = (*t)->BlankRecord();
      ASSERT_OK(r.PutText("CPF", c));
      ASSERT_OK((*t)->Append(r));
    }
  }
  std::unique_ptr<Table> Open(Sharing s) {
    auto t = Table::Open(*env, path, s);
    EXPECT_TRUE(t.ok()) << t.status().ToString();
    return t.ok() ? std::move(t).value() : nullptr;
  }
  StatusCode OpenCode(Sharing s) { return Table::Open(*env, path, s).status().code(); }

  dodu::testing::TempDir dir;
  std::unique_ptr<platform::Env> env;
  std::string path;
};

TEST_F(LockTest, ExclusiveAndSharedOpensRefuseEachOtherAtOnce) {
  {
    auto a = Open(Sharing::kExclusive);
    EXPECT_EQ(OpenCode(Sharing::kShared), StatusCode::kLocked);
    EXPECT_EQ(OpenCode(Sharing::kExclusive), StatusCode::kLocked);
    EXPECT_EQ(*ProbeTableUse(*env, path), TableUse::kExclusive);
  }
  EXPECT_EQ(*ProbeTableUse(*env, path), TableUse::kFree);
  auto b = Open(Sharing::kShared);
  auto c = Open(Sharing::kShared);
  EXPECT_EQ(OpenCode(Sharing::kExclusive), StatusCode::kLocked);
  EXPECT_EQ(*ProbeTableUse(*env, path), TableUse::kShared);
  EXPECT_TRUE(env->Exists(path + ".LCK"));
}

TEST_F(LockTest, RecordAndTableLocksConflictBetweenStations) {
  auto a = Open(Sharing::kShared);
  auto b = Open(Sharing::kShared);
  ASSERT_OK(a->LockRecord(RecNo{1}));
  EXPECT_EQ(b->LockRecord(RecNo{1}).code(), StatusCode::kLocked);
  ASSERT_OK(b->LockRecord(RecNo{2}));
  EXPECT_EQ(b->LockTable().code(), StatusCode::kLocked);
  EXPECT_EQ(a->LockTable().code(), StatusCode::kLocked);
  a->UnlockRecord(RecNo{1});
  // b's own record lock does not stand in its way.
  ASSERT_OK(b->LockTable());
  EXPECT_EQ(a->LockRecord(RecNo{3}).code(), StatusCode::kLocked);
  // Appending needs the header, which the table lock covers.
  EXPECT_EQ(a->AppendBlank().status().code(), StatusCode::kLocked);
  b->UnlockTable();
  ASSERT_OK(a->LockRecord(RecNo{3}));
  EXPECT_FALSE(b->HoldsRecordLock(RecNo{2}));
}

TEST_F(LockTest, AppendIsSeenByTheOtherStationAfterItsNextLock) {
  auto a = Open(Sharing::kShared);
  auto b = Open(Sharing::kShared);
  Record r = a->BlankRecord();
  ASSERT_OK(r.PutText("CPF", "DDD"));
  auto n = a->Append(r);
  ASSERT_OK(n);
  EXPECT_EQ(n->value, 4u);
  EXPECT_TRUE(a->HoldsRecordLock(*n));
  EXPECT_EQ(b->LockRecord(*n).code(), StatusCode::kLocked);
  EXPECT_EQ(b->record_count(), 3u);
  a->UnlockRecord(*n);
  ASSERT_OK(b->LockRecord(RecNo{1}));
  EXPECT_EQ(b->record_count(), 4u);
  // Reading past the known end re-reads the count too.
  ASSERT_OK(a->Append(r));
  EXPECT_EQ(*b->Read(RecNo{5})->GetText("CPF"), "DDD");
}

TEST_F(LockTest, ATableReplacedByARewriteIsSeenAfterTheNextLock) {
  auto a = Open(Sharing::kShared);
  auto b = Open(Sharing::kShared);
  ASSERT_OK(b->LockTable());
  ASSERT_OK(b->SetDeleted(RecNo{1}, true));
  ASSERT_OK(b->Pack());
  b->UnlockTable();
  ASSERT_EQ(b->record_count(), 2u);
  ASSERT_OK(a->LockRecord(RecNo{1}));
  EXPECT_EQ(a->record_count(), 2u);
  EXPECT_EQ(*a->Read(RecNo{1})->GetText("CPF"), "BBB");
  EXPECT_EQ(a->file().generation(), b->file().generation());
  // The lock file was kept through the rename: the locks still conflict.
  EXPECT_EQ(b->LockRecord(RecNo{1}).code(), StatusCode::kLocked);
}

TEST_F(LockTest, FolderCheckPassesOnALocalDisk) { EXPECT_OK(CheckFolderLocks(*env, dir.path())); }

// An Env whose locks are all granted: what some network mounts do.
class LocksDoNothingEnv : public platform::Env {
 public:
  class NoLockFile : public platform::File {
   public:
    explicit NoLockFile(std::unique_ptr<platform::File> f) : f_(std::move(f)) {}
    Result<size_t> ReadAt(uint64_t o, std::span<std::byte> out) override { return f_->ReadAt(o, out); }
    Status WriteAt(uint64_t o, std::span<const std::byte> d) override { return f_->WriteAt(o, d); }
    Result<uint64_t> Size() override { return f_->Size(); }
    Status Truncate(uint64_t s) override { return f_->Truncate(s); }
    Status Sync() override { return f_->Sync(); }
    Status TryLock(uint64_t, uint64_t, platform::LockType) override { return Status::Ok(); }
    Status Unlock(uint64_t, uint64_t) override { return Status::Ok(); }
    const std::string& path() const override { return f_->path(); }

   private:
    std::unique_ptr<platform::File> f_;
  };
  Result<std::unique_ptr<platform::File>> Open(const std::string& p, platform::OpenMode m) override {
    DODU_ASSIGN_OR_RETURN(std::unique_ptr<platform::File> f, base.Open(p, m));
    return std::unique_ptr<platform::File>(new NoLockFile(std::move(f)));
  }
  bool Exists(const std::string& p) override { return base.Exists(p); }
  bool IsDirectory(const std::string& p) override { return base.IsDirectory(p); }
  Status Remove(const std::string& p) override { return base.Remove(p); }
  Status Rename(const std::string& a, const std::string& b) override { return base.Rename(a, b); }
  Status CreateDir(const std::string& p) override { return base.CreateDir(p); }
  Status RemoveDir(const std::string& p) override { return base.RemoveDir(p); }
  Result<std::vector<platform::DirEntry>> ListDir(const std::string& p) override { return base.ListDir(p); }
  Result<uint64_t> FreeSpace(const std::string& p) override { return base.FreeSpace(p); }
  Result<bool> IsNetworkFilesystem(const std::string& p) override { return base.IsNetworkFilesystem(p); }
  Result<platform::SpawnResult> Spawn(const std::vector<std::string>& a,
                                      const platform::SpawnOptions& o) override {
    return base.Spawn(a, o);
  }
  std::optional<std::string> GetEnv(const std::string& n) override { return base.GetEnv(n); }
  platform::Clock& clock() override { return base.clock(); }
  int ProcessId() override { return base.ProcessId(); }
  platform::MemoryEnv base;
};

TEST(LockCheckTest, RefusesAFolderWhereLocksDoNothing) {
  LocksDoNothingEnv env;
  ASSERT_OK(env.CreateDir("/share"));
  Status st = CheckFolderLocks(env, "/share");
  EXPECT_EQ(st.code(), StatusCode::kIoError);
  EXPECT_NE(st.message().find("/share"), std::string::npos) << st.message();
  ASSERT_OK(platform::WriteFileAtomic(env.base, "/share/T.DBF", "x"));
  EXPECT_EQ(Table::Open(env, "/share/T.DBF", Sharing::kShared).status().code(), StatusCode::kIoError);
}

// Runs `body` in a child process that reports "ready" through a pipe and then
// waits to be killed. Answers the child's pid once it is ready.
template <typename F>
pid_t ForkHolder(F body) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    char ok = body() ? 'y' : 'n';
    if (write(fds[1], &ok, 1) != 1) _exit(2);
    for (;;) pause();
  }
  close(fds[1]);
  char c = 0;
  ssize_t got = read(fds[0], &c, 1);
  close(fds[0]);
  if (got != 1 || c != 'y') {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  return pid;
}

TEST_F(LockTest, KillingTheHolderFreesItsLocks) {
  std::string p = path;
  pid_t excl = ForkHolder([p] {
    auto env = platform::NewPosixEnv();
    static std::unique_ptr<Table> t;  // kept until the process dies
    auto r = Table::Open(*env, p, Sharing::kExclusive);
    if (!r.ok()) return false;
    t = std::move(r).value();
    return true;
  });
  ASSERT_GT(excl, 0);
  EXPECT_EQ(OpenCode(Sharing::kShared), StatusCode::kLocked);
  kill(excl, SIGKILL);
  waitpid(excl, nullptr, 0);

  auto a = Open(Sharing::kShared);
  pid_t rec = ForkHolder([p] {
    auto env = platform::NewPosixEnv();
    static std::unique_ptr<Table> t;
    auto r = Table::Open(*env, p, Sharing::kShared);
    if (!r.ok()) return false;
    t = std::move(r).value();
    return t->LockRecord(RecNo{2}).ok() && t->AppendBlank().ok();
  });
  ASSERT_GT(rec, 0);
  EXPECT_EQ(a->LockRecord(RecNo{2}).code(), StatusCode::kLocked);
  EXPECT_EQ(a->LockRecord(RecNo{4}).code(), StatusCode::kLocked);
  EXPECT_EQ(*a->RefreshCount(), 4u);
  kill(rec, SIGKILL);
  waitpid(rec, nullptr, 0);
  EXPECT_OK(a->LockRecord(RecNo{2}));
  EXPECT_OK(a->LockRecord(RecNo{4}));
  a.reset();
  EXPECT_NE(Open(Sharing::kExclusive), nullptr);
}

// Two stations appending at the same moment: the header lock serialises them,
// so no record overwrites another and the count holds them all.
TEST_F(LockTest, ConcurrentAppendsFromTwoProcessesLoseNothing) {
  constexpr int kEach = 300;
  std::vector<pid_t> kids;
  for (char tag : {'X', 'Y'}) {
    pid_t pid = fork();
    if (pid == 0) {
      auto cenv = platform::NewPosixEnv();
      auto t = Table::Open(*cenv, path, Sharing::kShared);
      if (!t.ok()) _exit(3);
      for (int i = 0; i < kEach; ++i) {
        Record r = (*t)->BlankRecord();
        char cpf[4];
        snprintf(cpf, sizeof cpf, "%c%02d", tag, i % 100);
        if (!r.PutText("CPF", cpf).ok() || !r.PutNumber("V", core::Decimal::FromScaled(i, 2)).ok()) _exit(4);
        Result<RecNo> n = (*t)->Append(r);
        while (n.status().IsLocked()) n = (*t)->Append(r);
        if (!n.ok()) _exit(5);
        (*t)->UnlockRecord(*n);
      }
      _exit(0);
    }
    kids.push_back(pid);
  }
  for (pid_t pid : kids) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  auto t = Open(Sharing::kExclusive);
  ASSERT_EQ(t->record_count(), 3u + 2 * kEach);
  int next[2] = {0, 0};
  for (uint32_t n = 4; n <= t->record_count(); ++n) {
    Record r = *t->Read(RecNo{n});
    int who = (*r.GetText("CPF"))[0] == 'X' ? 0 : 1;
    EXPECT_EQ(*r.GetNumber("V"), core::Decimal::FromScaled(next[who]++, 2)) << "record " << n;
  }
  EXPECT_EQ(next[0], kEach);
  EXPECT_EQ(next[1], kEach);
}

}  // namespace
}  // namespace dodu::store
