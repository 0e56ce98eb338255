// The behaviour every Env must share, run against the real one, the in-memory
// one and a FaultEnv that injects nothing: tests written on MemoryEnv hold on disk.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/env.h"
#include "platform/fault_env.h"
#include "platform/memory_env.h"
#include "platform/testutil.h"

namespace dodu::platform {
namespace {

std::span<const std::byte> Bytes(std::string_view s) {
  return std::as_bytes(std::span(s.data(), s.size()));
}

std::string ReadAll(File& f) {
  auto size = f.Size();
  if (!size.ok()) return "<size failed>";
  std::string out(*size, '\0');
  auto n = f.ReadAt(0, std::as_writable_bytes(std::span(out)));
  if (!n.ok()) return "<read failed>";
  out.resize(*n);
  return out;
}

enum class Kind { kPosix, kMemory, kFaultOverMemory };

class EnvContractTest : public ::testing::TestWithParam<Kind> {
 protected:
  void SetUp() override {
    switch (GetParam()) {
      case Kind::kPosix:
        owned_ = NewPosixEnv();
        env_ = owned_.get();
        root_ = tmp_.path();
        break;
      case Kind::kMemory:
        env_ = &memory_;
        root_ = "/work";
        break;
      case Kind::kFaultOverMemory:
        fault_ = std::make_unique<FaultEnv>(memory_);
        env_ = fault_.get();
        root_ = "/work";
        break;
    }
    ASSERT_OK(env_->CreateDir(root_));
  }
  std::string P(const std::string& name) const { return root_ + "/" + name; }

  dodu::testing::TempDir tmp_;
  MemoryEnv memory_;
  std::unique_ptr<Env> owned_;
  std::unique_ptr<FaultEnv> fault_;
  Env* env_ = nullptr;
  std::string root_;
};

TEST_P(EnvContractTest, OpenModes) {
  EXPECT_TRUE(env_->Open(P("a"), OpenMode::kRead).status().IsNotFound());
  EXPECT_TRUE(env_->Open(P("a"), OpenMode::kReadWrite).status().IsNotFound());
  EXPECT_TRUE(env_->Open(P("nofolder/a"), OpenMode::kCreate).status().IsNotFound());
  {
    auto f = env_->Open(P("a"), OpenMode::kCreateNew);
    ASSERT_OK(f);
    ASSERT_OK((*f)->WriteAt(0, Bytes("hello")));
    ASSERT_OK((*f)->WriteAt(7, Bytes("!")));  // a hole reads as zeros
    EXPECT_EQ(ReadAll(**f), std::string("hello\0\0!", 8));
  }
  EXPECT_EQ(env_->Open(P("a"), OpenMode::kCreateNew).status().code(), StatusCode::kInvalid);
  {
    auto f = env_->Open(P("a"), OpenMode::kCreate);  // keeps the contents
    ASSERT_OK(f);
    EXPECT_EQ(*(*f)->Size(), 8u);
    ASSERT_OK((*f)->Truncate(2));
    EXPECT_EQ(ReadAll(**f), "he");
  }
  {
    auto f = env_->Open(P("a"), OpenMode::kRead);
    ASSERT_OK(f);
    std::byte buf[10];
    auto n = (*f)->ReadAt(1, buf);
    ASSERT_OK(n);
    EXPECT_EQ(*n, 1u);  // short at the end
    EXPECT_EQ(*(*f)->ReadAt(50, buf), 0u);
    EXPECT_FALSE((*f)->WriteAt(0, Bytes("x")).ok()) << "read-only file accepted a write";
  }
  {
    auto f = env_->Open(P("a"), OpenMode::kTruncate);
    ASSERT_OK(f);
    EXPECT_EQ(*(*f)->Size(), 0u);
  }
  EXPECT_FALSE(env_->Open(root_, OpenMode::kReadWrite).ok()) << "a folder opened as a file";
}

TEST_P(EnvContractTest, FoldersAndListing) {
  ASSERT_OK(env_->CreateDir(P("x/y/z")));
  ASSERT_OK(env_->CreateDir(P("x/y/z")));  // already there: fine
  EXPECT_TRUE(env_->IsDirectory(P("x/y")));
  for (const char* name : {"b.DBF", "B.dbf", "a.txt"}) {
    auto f = env_->Open(P("x/") + name, OpenMode::kCreate);
    ASSERT_OK(f);
    ASSERT_OK((*f)->WriteAt(0, Bytes(name)));
  }
  auto list = env_->ListDir(P("x"));
  ASSERT_OK(list);
  std::vector<DirEntry> want = {
      {"B.dbf", false, 5}, {"a.txt", false, 5}, {"b.DBF", false, 5}, {"y", true, 0}};
  ASSERT_EQ(list->size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ((*list)[i].name, want[i].name);
    EXPECT_EQ((*list)[i].is_dir, want[i].is_dir);
    if (!want[i].is_dir) {
      EXPECT_EQ((*list)[i].size, want[i].size);
    }
  }
  EXPECT_TRUE(env_->ListDir(P("none")).status().IsNotFound());
  EXPECT_FALSE(env_->RemoveDir(P("x/y")).ok()) << "removed a folder that is not empty";
  ASSERT_OK(env_->RemoveDir(P("x/y/z")));
  EXPECT_FALSE(env_->IsDirectory(P("x/y/z")));
  EXPECT_TRUE(env_->RemoveDir(P("x/y/z")).IsNotFound());
  EXPECT_FALSE(env_->Remove(P("x/y")).ok()) << "Remove took a folder";
  auto free = env_->FreeSpace(root_);
  ASSERT_OK(free);
  EXPECT_GT(*free, 0u);
  auto net = env_->IsNetworkFilesystem(root_);
  ASSERT_OK(net);
  EXPECT_FALSE(*net);
}

// Regression: creating a folder where a file has the name reported success, so a
// caller went on to write "into" a folder that did not exist.
TEST_P(EnvContractTest, CreateDirOverAFileFails) {
  { ASSERT_OK(env_->Open(P("plain"), OpenMode::kCreate)); }
  EXPECT_FALSE(env_->CreateDir(P("plain")).ok());
  EXPECT_FALSE(env_->CreateDir(P("plain/sub")).ok());
}

TEST_P(EnvContractTest, RenameReplacesAndOpenFilesSurvive) {
  {
    auto f = env_->Open(P("new"), OpenMode::kCreate);
    ASSERT_OK(f);
    ASSERT_OK((*f)->WriteAt(0, Bytes("new")));
    auto g = env_->Open(P("old"), OpenMode::kCreate);
    ASSERT_OK(g);
    ASSERT_OK((*g)->WriteAt(0, Bytes("old")));
  }
  auto reader = env_->Open(P("old"), OpenMode::kRead);
  ASSERT_OK(reader);
  ASSERT_OK(env_->Rename(P("new"), P("old")));
  EXPECT_FALSE(env_->Exists(P("new")));
  auto now = env_->Open(P("old"), OpenMode::kRead);
  ASSERT_OK(now);
  EXPECT_EQ(ReadAll(**now), "new");
  EXPECT_EQ(ReadAll(**reader), "old");  // the replaced file stays readable while open
  ASSERT_OK(env_->Remove(P("old")));
  EXPECT_EQ(ReadAll(**now), "new");
  EXPECT_TRUE(env_->Remove(P("old")).IsNotFound());
  EXPECT_TRUE(env_->Rename(P("none"), P("x")).IsNotFound());

  // Folders move with what they hold.
  ASSERT_OK(env_->CreateDir(P("d1/sub")));
  { ASSERT_OK(env_->Open(P("d1/sub/f"), OpenMode::kCreate)); }
  ASSERT_OK(env_->Rename(P("d1"), P("d2")));
  EXPECT_TRUE(env_->Exists(P("d2/sub/f")));
  EXPECT_FALSE(env_->Exists(P("d1")));
}

TEST_P(EnvContractTest, LocksBehaveAsOpenFileDescriptionLocks) {
  auto a = env_->Open(P("t.lck"), OpenMode::kCreate);
  auto b = env_->Open(P("t.lck"), OpenMode::kCreate);
  ASSERT_TRUE(a.ok() && b.ok());
  File& fa = **a;
  File& fb = **b;
  struct Step {
    File* who;
    enum { kLock, kUnlock } what;
    uint64_t offset, length;
    LockType type;
    bool ok;
  };
  const LockType S = LockType::kShared, X = LockType::kExclusive;
  const Step steps[] = {
      {&fa, Step::kLock, 100, 10, S, true},
      {&fb, Step::kLock, 105, 10, S, true},  // shared with shared: fine
      {&fb, Step::kLock, 109, 1, X, false},  // overlaps a's shared range
      {&fa, Step::kLock, 100, 5, X, true},   // upgrade of its own part
      {&fb, Step::kLock, 104, 1, S, false},
      {&fb, Step::kLock, 115, 1, X, true},    // adjacent, no overlap
      {&fa, Step::kLock, 100, 10, X, false},  // b shares 105..109
      {&fa, Step::kLock, 1000, 1, X, true},   // itself never conflicts: lock twice
      {&fa, Step::kLock, 1000, 1, X, true},
      {&fa, Step::kUnlock, 100, 5, S, true},
      {&fb, Step::kLock, 100, 5, X, true},
      {&fb, Step::kUnlock, 0, 0, S, true},   // length 0: to the end
      {&fa, Step::kLock, 0, 0, X, true},     // b holds nothing: a takes the whole file
      {&fa, Step::kLock, 2000, 0, X, true},  // to the end of the file
      {&fb, Step::kLock, 1 << 30, 1, S, false},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    const Step& s = steps[i];
    Status st = s.what == Step::kLock ? s.who->TryLock(s.offset, s.length, s.type)
                                      : s.who->Unlock(s.offset, s.length);
    if (s.ok) {
      EXPECT_TRUE(st.ok()) << "step " << i << ": " << st.ToString();
    } else {
      EXPECT_TRUE(st.IsLocked()) << "step " << i << ": " << st.ToString();
    }
  }
  // Closing a File drops its locks.
  a->reset();
  EXPECT_OK(fb.TryLock(0, 0, X));
}

INSTANTIATE_TEST_SUITE_P(AllEnvs, EnvContractTest,
                         ::testing::Values(Kind::kPosix, Kind::kMemory, Kind::kFaultOverMemory),
                         [](const auto& info) {
                           switch (info.param) {
                             case Kind::kPosix:
                               return "Posix";
                             case Kind::kMemory:
                               return "Memory";
                             case Kind::kFaultOverMemory:
                               return "FaultOverMemory";
                           }
                           return "?";
                         });

}  // namespace
}  // namespace dodu::platform
