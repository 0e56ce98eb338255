// What only the in-memory Env offers: settable free space, network folders,
// scripted programs, the fake clock behind it.
#include "platform/memory_env.h"

#include <gtest/gtest.h>

#include "platform/testutil.h"

namespace dodu::platform {
namespace {

std::span<const std::byte> Bytes(std::string_view s) {
  return std::as_bytes(std::span(s.data(), s.size()));
}

TEST(MemoryEnvTest, FreeSpaceShrinksAndAFullDiskRefusesToGrowFiles) {
  MemoryEnv env;
  ASSERT_OK(env.CreateDir("/d"));
  EXPECT_EQ(*env.FreeSpace("/d"), MemoryEnv::kDefaultFreeSpace);
  EXPECT_TRUE(env.FreeSpace("/none").status().IsNotFound());

  env.SetFreeSpace(10);
  auto f = env.Open("/d/t", OpenMode::kCreate);
  ASSERT_OK(f);
  ASSERT_OK((*f)->WriteAt(0, Bytes("12345678")));
  EXPECT_EQ(*env.FreeSpace("/d"), 2u);
  Status full = (*f)->WriteAt(8, Bytes("abc"));
  EXPECT_EQ(full.code(), StatusCode::kIoError);
  EXPECT_EQ(*(*f)->Size(), 8u) << "a refused write stored a part";
  ASSERT_OK((*f)->WriteAt(0, Bytes("overwrite")));  // grows by 1 only
  EXPECT_EQ((*f)->Truncate(100).code(), StatusCode::kIoError);
  ASSERT_OK(env.Remove("/d/t"));
  EXPECT_EQ(*env.FreeSpace("/d"), 10u);
}

TEST(MemoryEnvTest, NetworkFlagByLongestPrefix) {
  MemoryEnv env;
  ASSERT_OK(env.CreateDir("/mnt/share/local"));
  ASSERT_OK(env.CreateDir("/mnt/shared"));
  env.SetNetwork("/mnt/share", true);
  env.SetNetwork("/mnt/share/local", false);
  EXPECT_TRUE(*env.IsNetworkFilesystem("/mnt/share"));
  EXPECT_FALSE(*env.IsNetworkFilesystem("/mnt/share/local"));
  EXPECT_FALSE(*env.IsNetworkFilesystem("/mnt/shared"));  // a prefix is a whole component
  EXPECT_FALSE(*env.IsNetworkFilesystem("/"));
  EXPECT_TRUE(env.IsNetworkFilesystem("/mnt/none").status().IsNotFound());
}

TEST(MemoryEnvTest, SpawnRecordsArgumentsAndRunsTheScript) {
  MemoryEnv env;
  ASSERT_OK(env.CreateDir("/inst"));
  env.SetSpawnExitStatus("java", 3);
  env.SetSpawnHandler("7z",
                      [](MemoryEnv& e, const std::vector<std::string>& argv,
                         const SpawnOptions&) -> Result<SpawnResult> {
                        DODU_RETURN_IF_ERROR(e.PutFile(argv[2], "archive"));
                        return SpawnResult{0, 0};
                      });

  SpawnOptions opt;
  opt.cwd = "/inst";
  auto java = env.Spawn({"java", "-jar", "IHash.jar", "two words"}, opt);
  ASSERT_OK(java);
  EXPECT_EQ(java->exit_status, 3);
  auto zip = env.Spawn({"/inst/7z", "a", "/inst/IR_ZIP20.zip"}, {});
  ASSERT_OK(zip);  // matched by the program's last component
  EXPECT_EQ(*ReadWholeFile(env, "/inst/IR_ZIP20.zip"), "archive");
  EXPECT_NE(java->pid, zip->pid);

  auto missing = env.Spawn({"notepad"}, {});
  EXPECT_TRUE(missing.status().IsNotFound());
  EXPECT_EQ(env.Spawn({}, {}).status().code(), StatusCode::kInvalid);

  ASSERT_EQ(env.spawned().size(), 3u);  // the empty argv never ran
  EXPECT_EQ(env.spawned()[0].argv,
            (std::vector<std::string>{"java", "-jar", "IHash.jar", "two words"}));
  EXPECT_EQ(env.spawned()[0].options.cwd, "/inst");
  EXPECT_EQ(env.spawned()[2].argv[0], "notepad");
}

TEST(MemoryEnvTest, UnwaitedProgramGivesItsStatusToWait) {
  MemoryEnv env;
  env.SetSpawnExitStatus("notepad", 2);
  SpawnOptions opt;
  opt.wait = false;
  auto r = env.Spawn({"notepad", "NAO-DOS.TXT"}, opt);
  ASSERT_OK(r);
  EXPECT_EQ(r->exit_status, 0);
  auto done = env.Wait(r->pid);
  ASSERT_OK(done);
  EXPECT_EQ(done->exit_status, 2);
  EXPECT_TRUE(env.Wait(r->pid).status().IsNotFound());
}

TEST(MemoryEnvTest, EnvironmentAndProcessId) {
  MemoryEnv env;
  EXPECT_EQ(env.GetEnv("TERMINAL"), std::nullopt);
  env.SetEnv("TERMINAL", "07");
  EXPECT_EQ(env.GetEnv("TERMINAL"), "07");
  env.UnsetEnv("TERMINAL");
  EXPECT_EQ(env.GetEnv("TERMINAL"), std::nullopt);
  env.set_process_id(77);
  EXPECT_EQ(env.ProcessId(), 77);
}

TEST(MemoryEnvTest, ClockIsTheFakeOne) {
  MemoryEnv env;
  env.fake_clock().Set({2020, 4, 30, 23, 59, 58});
  env.clock().SleepFor(std::chrono::milliseconds(2500));
  EXPECT_EQ(env.clock().Now(), (CivilTime{2020, 5, 1, 0, 0, 0}));
  EXPECT_EQ(env.clock().MonotonicMillis(), 2500);
}

TEST(MemoryEnvTest, FilesOutliveTheEnv) {
  std::unique_ptr<File> f;
  {
    MemoryEnv env;
    auto opened = env.Open("/x", OpenMode::kCreate);
    ASSERT_OK(opened);
    f = std::move(opened).value();
  }
  ASSERT_OK(f->WriteAt(0, Bytes("still here")));
  EXPECT_EQ(*f->Size(), 10u);
  EXPECT_OK(f->TryLock(0, 0, LockType::kExclusive));
}

TEST(MemoryEnvTest, ExclusiveLockNeedsWriteAccess) {
  MemoryEnv env;
  ASSERT_OK(env.PutFile("/t", "x"));
  auto r = env.Open("/t", OpenMode::kRead);
  ASSERT_OK(r);
  EXPECT_OK((*r)->TryLock(0, 1, LockType::kShared));
  EXPECT_EQ((*r)->TryLock(0, 1, LockType::kExclusive).code(), StatusCode::kIoError);
}

TEST(MemoryEnvTest, RelativeNamesAreTakenFromTheRoot) {
  MemoryEnv env;
  ASSERT_OK(env.PutFile("IMP0920.DBF", "x"));
  EXPECT_TRUE(env.Exists("/IMP0920.DBF"));
  EXPECT_TRUE(env.Exists("./IMP0920.DBF"));
}

}  // namespace
}  // namespace dodu::platform
