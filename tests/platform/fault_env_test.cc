#include "platform/fault_env.h"

#include <gtest/gtest.h>

#include "platform/memory_env.h"
#include "platform/testutil.h"

namespace dodu::platform {
namespace {

using Op = FaultEnv::Op;

std::span<const std::byte> Bytes(std::string_view s) {
  return std::as_bytes(std::span(s.data(), s.size()));
}

TEST(FaultEnvTest, FailsOnlyTheNthCallAndCountsEveryOne) {
  MemoryEnv mem;
  FaultEnv env(mem);
  auto f = env.Open("/t", OpenMode::kCreate);
  ASSERT_OK(f);
  env.FailNth(Op::kWrite, 3);
  std::vector<bool> ok;
  for (int i = 0; i < 5; ++i) ok.push_back((*f)->WriteAt(i, Bytes("x")).ok());
  EXPECT_EQ(ok, (std::vector<bool>{true, true, false, true, true}));
  EXPECT_EQ(env.count(Op::kWrite), 5);
  EXPECT_EQ(env.count(Op::kOpen), 1);
  EXPECT_EQ(env.failures(), 1);
  // The failed write never reached the Env below: offset 2 is a hole.
  EXPECT_EQ(*ReadWholeFile(mem, "/t"), std::string("xx\0xx", 5));
}

TEST(FaultEnvTest, FailFromIsStickyAndCodesAreChosen) {
  MemoryEnv mem;
  FaultEnv env(mem);
  ASSERT_OK(mem.PutFile("/a", "1"));
  env.FailFrom(Op::kRename, 2);
  EXPECT_OK(env.Rename("/a", "/b"));
  EXPECT_EQ(env.Rename("/b", "/c").code(), StatusCode::kIoError);
  EXPECT_EQ(env.Rename("/b", "/c").code(), StatusCode::kIoError);
  EXPECT_TRUE(mem.Exists("/b"));

  auto f = env.Open("/b", OpenMode::kReadWrite);
  ASSERT_OK(f);
  env.FailNth(Op::kLock, 1, StatusCode::kLocked);  // another station holds it
  EXPECT_TRUE((*f)->TryLock(0, 1, LockType::kExclusive).IsLocked());
  EXPECT_OK((*f)->TryLock(0, 1, LockType::kExclusive));

  env.Clear();
  EXPECT_OK(env.Rename("/b", "/c"));
  env.ResetCounts();
  EXPECT_EQ(env.count(Op::kRename), 0);
}

TEST(FaultEnvTest, EveryKindOfCallCanFail) {
  MemoryEnv mem;
  ASSERT_OK(mem.PutFile("/d/f", "data"));
  mem.SetSpawnExitStatus("prog", 0);
  FaultEnv env(mem);
  auto f = env.Open("/d/f", OpenMode::kReadWrite);
  ASSERT_OK(f);
  File& file = **f;
  std::byte buf[4];
  struct Case {
    Op op;
    std::function<Status()> call;
  };
  const Case cases[] = {
      {Op::kOpen, [&] { return env.Open("/d/f", OpenMode::kRead).status(); }},
      {Op::kRead, [&] { return file.ReadAt(0, buf).status(); }},
      {Op::kWrite, [&] { return file.WriteAt(0, Bytes("x")); }},
      {Op::kTruncate, [&] { return file.Truncate(1); }},
      {Op::kSync, [&] { return file.Sync(); }},
      {Op::kLock, [&] { return file.TryLock(0, 1, LockType::kShared); }},
      {Op::kUnlock, [&] { return file.Unlock(0, 1); }},
      {Op::kSize, [&] { return file.Size().status(); }},
      {Op::kRename, [&] { return env.Rename("/d/f", "/d/f"); }},
      {Op::kRemove, [&] { return env.Remove("/d/none"); }},
      {Op::kCreateDir, [&] { return env.CreateDir("/d/sub"); }},
      {Op::kRemoveDir, [&] { return env.RemoveDir("/d/none"); }},
      {Op::kListDir, [&] { return env.ListDir("/d").status(); }},
      {Op::kFreeSpace, [&] { return env.FreeSpace("/d").status(); }},
      {Op::kSpawn, [&] { return env.Spawn({"prog"}, {}).status(); }},
  };
  ASSERT_EQ(std::size(cases), FaultEnv::kOpCount);
  env.ResetCounts();
  for (const auto& c : cases) {
    env.FailNth(c.op, 1);
    Status st = c.call();
    EXPECT_EQ(st.code(), StatusCode::kIoError) << FaultOpName(c.op) << ": " << st.ToString();
    EXPECT_EQ(env.count(c.op), 1) << FaultOpName(c.op);
  }
}

// Fail each call of an atomic replace in turn: the operation must report the
// failure, the old contents must stay whole and no temporary may be left over.
TEST(FaultEnvTest, AtomicWriteAndCopySurviveEveryFailedCall) {
  const std::string big(3 * (1 << 20) + 17, 'n');  // more than one copy chunk
  struct Job {
    const char* name;
    std::function<Status(Env&)> run;
    std::string wanted;
  };
  const Job jobs[] = {
      {"write", [](Env& e) { return WriteFileAtomic(e, "/d/T.DBF", "new contents"); },
       "new contents"},
      {"copy", [](Env& e) { return CopyFile(e, "/src/BIG.DBF", "/d/T.DBF"); }, big},
  };
  for (const auto& job : jobs) {
    for (Op op : {Op::kOpen, Op::kRead, Op::kWrite, Op::kSync, Op::kRename, Op::kSize}) {
      for (int n = 1;; ++n) {
        MemoryEnv mem;
        ASSERT_OK(mem.PutFile("/d/T.DBF", "old"));
        ASSERT_OK(mem.PutFile("/src/BIG.DBF", big));
        FaultEnv env(mem);
        env.FailNth(op, n);
        Status st = job.run(env);
        std::string where =
            std::string(job.name) + ", " + FaultOpName(op) + " #" + std::to_string(n);
        auto list = mem.ListDir("/d");
        ASSERT_OK(list);
        EXPECT_EQ(list->size(), 1u) << where << ": a temporary was left";
        std::string now = *ReadWholeFile(mem, "/d/T.DBF");
        if (env.failures() == 0) {
          ASSERT_OK(st);
          EXPECT_EQ(now, job.wanted) << where;
          break;  // no call of this kind left to fail
        }
        EXPECT_FALSE(st.ok()) << where << ": failure reported as success";
        EXPECT_EQ(now, "old") << where;
      }
    }
  }
}

TEST(FaultEnvTest, CrashKeepsTheOldFileAndStopsAllChanges) {
  for (size_t torn : {size_t{0}, size_t{5}}) {
    MemoryEnv mem;
    ASSERT_OK(mem.PutFile("/d/T.DBF", "old"));
    ASSERT_OK(mem.PutFile("/src/BIG.DBF", std::string(2 * (1 << 20) + 1, 'n')));
    FaultEnv env(mem);
    env.CrashAfterWrites(1, torn);  // the second chunk never lands
    EXPECT_FALSE(CopyFile(env, "/src/BIG.DBF", "/d/T.DBF").ok());
    EXPECT_TRUE(env.crashed());
    EXPECT_EQ(*ReadWholeFile(mem, "/d/T.DBF"), "old");
    // The stopped machine changes nothing more; reading goes on.
    EXPECT_FALSE(env.Remove("/d/T.DBF").ok());
    EXPECT_FALSE(env.Open("/d/NEW", OpenMode::kCreate).ok());
    EXPECT_FALSE(env.CreateDir("/e").ok());
    EXPECT_OK(env.Open("/d/T.DBF", OpenMode::kRead).status());
    EXPECT_TRUE(mem.Exists("/d/T.DBF"));
    // What a torn write left in the temporary: the first chunk and `torn` bytes.
    auto list = mem.ListDir("/d");
    ASSERT_OK(list);
    ASSERT_EQ(list->size(), 2u);
    const DirEntry& tmp = (*list)[0].name == "T.DBF" ? (*list)[1] : (*list)[0];
    EXPECT_EQ(tmp.size, (1u << 20) + torn) << tmp.name;
    env.Clear();
    EXPECT_FALSE(env.crashed());
    EXPECT_OK(env.CreateDir("/e"));
  }
}

}  // namespace
}  // namespace dodu::platform
