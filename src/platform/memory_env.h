// An Env that keeps files and folders in memory, for tests: fast, deterministic,
// with a FakeClock, settable free space, network flags and scripted programs.
//
// It behaves as the POSIX Env does where the system can tell: names are case
// sensitive; "/" exists from the start and a relative name is taken from "/";
// a file's parent folder must exist; an open File keeps working after its name is
// removed or renamed; Rename replaces the target at once; ListDir is sorted by bytes.
// Locks follow open-file-description rules: a File never conflicts with itself
// (a new lock over its own range replaces it, splitting it where needed), two File
// objects conflict when their ranges overlap and either lock is exclusive, and a
// File's locks vanish when it is destroyed. An exclusive lock needs a File opened
// for writing, as with fcntl.
//
// Files may outlive the MemoryEnv they came from. Not thread-safe (the system is
// single-threaded per station; two stations in a test are two Files).
#ifndef DODU_PLATFORM_MEMORY_ENV_H_
#define DODU_PLATFORM_MEMORY_ENV_H_

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/fake_clock.h"

namespace dodu::platform {

class MemoryEnv final : public Env {
 public:
  // Free space reported when none was set: 100 GiB.
  static constexpr uint64_t kDefaultFreeSpace = uint64_t{100} << 30;

  MemoryEnv();
  ~MemoryEnv() override;

  Result<std::unique_ptr<File>> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  Status Remove(const std::string& path) override;
  Status Rename(const std::string& from, const std::string& to) override;
  Status CreateDir(const std::string& path) override;
  Status RemoveDir(const std::string& path) override;
  Result<std::vector<DirEntry>> ListDir(const std::string& path) override;
  Result<uint64_t> FreeSpace(const std::string& path) override;
  Result<bool> IsNetworkFilesystem(const std::string& path) override;
  // Records the call and runs what was scripted for argv[0] (matched whole, then by
  // its last component): a handler, else an exit status. An unscripted program is
  // kNotFound, as a missing program is on the real system.
  Result<SpawnResult> Spawn(const std::vector<std::string>& argv,
                            const SpawnOptions& options) override;
  // The status of a program started with `wait = false` (its script ran at once).
  Result<SpawnResult> Wait(int pid) override;
  std::optional<std::string> GetEnv(const std::string& name) override;
  Clock& clock() override { return clock_; }
  int ProcessId() override { return pid_; }

  FakeClock& fake_clock() { return clock_; }

  // --- Set-up for tests ---
  void SetEnv(const std::string& name, const std::string& value);
  void UnsetEnv(const std::string& name);
  void set_process_id(int pid) { pid_ = pid; }

  // From now on the disk has `bytes` free: FreeSpace reports it (less what files
  // grow by afterwards) and a write that would grow files past it fails (kIoError,
  // "no space left"), writing nothing.
  void SetFreeSpace(uint64_t bytes);
  // Folders at or under `prefix` report `network` (the longest prefix wins).
  void SetNetwork(const std::string& prefix, bool network);

  struct SpawnCall {
    std::vector<std::string> argv;
    SpawnOptions options;
  };
  // A handler stands for the program: it may read and write files of this Env.
  using SpawnHandler = std::function<Result<SpawnResult>(
      MemoryEnv& env, const std::vector<std::string>& argv, const SpawnOptions& options)>;
  void SetSpawnExitStatus(const std::string& program, int exit_status);
  void SetSpawnHandler(const std::string& program, SpawnHandler handler);
  const std::vector<SpawnCall>& spawned() const { return spawned_; }

  // Writes a whole file, creating missing folders; for fixtures.
  Status PutFile(const std::string& path, std::string_view data);

  struct State;  // shared with the open Files

 private:
  std::shared_ptr<State> state_;
  FakeClock clock_;
  int pid_ = 4242;
  int next_child_pid_ = 10000;
  std::map<std::string, std::string> vars_;
  std::map<std::string, bool> network_;
  std::map<std::string, int> exit_status_;
  std::map<std::string, SpawnHandler> handlers_;
  std::vector<SpawnCall> spawned_;
  std::map<int, SpawnResult> unwaited_;
};

}  // namespace dodu::platform

#endif  // DODU_PLATFORM_MEMORY_ENV_H_
