// The one seam between the system and the operating system: files with
// byte-range locks, folders, the clock, outside programs and the environment.
// An Env is created in main() and passed down; nothing below reaches the
// operating system any other way. Tests use the in-memory Env (settable clock)
// or wrap either in a FaultEnv that fails a chosen call.
//
// Paths given to an Env are native paths. The system's own Windows-style folder
// names ("C:\KEVA2019\") go through PathMap (platform/paths.h) first.
#ifndef DODU_PLATFORM_ENV_H_
#define DODU_PLATFORM_ENV_H_

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/status.h"

namespace dodu::platform {

// Local civil time as the office sees it.
struct CivilTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
  bool operator==(const CivilTime&) const = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual CivilTime Now() const = 0;
  // Blocks the caller (a fake clock advances instead). Timed waits sleep; they never spin.
  virtual void SleepFor(std::chrono::milliseconds d) = 0;
  // Milliseconds on a clock that never goes back; for timeouts and timers.
  virtual int64_t MonotonicMillis() const = 0;

  int SecondsSinceMidnight() const {
    CivilTime t = Now();
    return t.hour * 3600 + t.minute * 60 + t.second;
  }
  // Today's date at 00:00:00.
  CivilTime Today() const {
    CivilTime t = Now();
    t.hour = t.minute = t.second = 0;
    return t;
  }
};

enum class LockType { kShared, kExclusive };

// An open file. Locks are open-file-description locks: they conflict between two
// File objects even inside one process, and vanish when the File is closed or
// the process dies.
class File {
 public:
  virtual ~File() = default;
  // Reads up to out.size() bytes at offset; returns how many were read (short at end of file).
  virtual Result<size_t> ReadAt(uint64_t offset, std::span<std::byte> out) = 0;
  virtual Status WriteAt(uint64_t offset, std::span<const std::byte> data) = 0;
  virtual Result<uint64_t> Size() = 0;
  virtual Status Truncate(uint64_t size) = 0;
  virtual Status Sync() = 0;
  // Takes a lock on [offset, offset+length) without waiting: kLocked when another
  // open file description holds a conflicting one. A length of 0 means "to the end".
  virtual Status TryLock(uint64_t offset, uint64_t length, LockType type) = 0;
  virtual Status Unlock(uint64_t offset, uint64_t length) = 0;
  virtual const std::string& path() const = 0;
};

enum class OpenMode {
  kRead,           // existing file, read only
  kReadWrite,      // existing file
  kCreate,         // read/write, created when missing
  kCreateNew,      // read/write, fails (kInvalid) when the file exists
  kTruncate,       // read/write, created or emptied
};

struct DirEntry {
  std::string name;
  bool is_dir = false;
  uint64_t size = 0;
  bool operator==(const DirEntry&) const = default;
};

struct SpawnOptions {
  bool wait = true;                // false: start and return at once
  std::string cwd;                 // empty: the current folder
  std::vector<std::pair<std::string, std::string>> extra_env;
  std::string stdin_path;          // empty: inherit; otherwise read from this file
  std::string stdout_path;         // empty: inherit; otherwise truncate and write there
  std::string stderr_path;         // empty: inherit
};

struct SpawnResult {
  int pid = 0;
  int exit_status = 0;             // valid when waited; 128+signal when killed
};

class Env {
 public:
  virtual ~Env() = default;

  virtual Result<std::unique_ptr<File>> Open(const std::string& path, OpenMode mode) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool IsDirectory(const std::string& path) = 0;
  virtual Status Remove(const std::string& path) = 0;
  // Atomically replaces `to` when it exists.
  virtual Status Rename(const std::string& from, const std::string& to) = 0;
  // Creates the folder and any missing parents; OK when it already exists.
  virtual Status CreateDir(const std::string& path) = 0;
  virtual Status RemoveDir(const std::string& path) = 0;
  // The entries of a folder (no "." or ".."), sorted by name, byte order.
  virtual Result<std::vector<DirEntry>> ListDir(const std::string& path) = 0;
  virtual Result<uint64_t> FreeSpace(const std::string& path) = 0;
  // True when the folder lies on a network filesystem (NFS, SMB/CIFS, ...).
  virtual Result<bool> IsNetworkFilesystem(const std::string& path) = 0;

  // Starts argv[0] (searched on PATH) with exactly these arguments; no shell.
  // A program that cannot be started (not found, not executable, a missing cwd or
  // redirection file) is an error (kNotFound / kIoError), never an exit status.
  virtual Result<SpawnResult> Spawn(const std::vector<std::string>& argv,
                                    const SpawnOptions& options) = 0;
  // Waits for a program started with `wait = false` and returns its exit status
  // (until then it lingers as a finished child). kNotFound when `pid` is no child
  // still to be waited for.
  virtual Result<SpawnResult> Wait(int pid) {
    return Status::NotFound("wait: no child " + std::to_string(pid));
  }

  virtual std::optional<std::string> GetEnv(const std::string& name) = 0;
  virtual Clock& clock() = 0;

  // This station's process id; with a counter it makes temporary names that two
  // stations writing into one shared folder do not share.
  virtual int ProcessId() { return 0; }
};

// The real operating system.
std::unique_ptr<Env> NewPosixEnv();
// A real clock (local time), for the posix Env and for tools.
std::unique_ptr<Clock> NewSystemClock();

// Helpers built on any Env.
Result<std::string> ReadWholeFile(Env& env, const std::string& path);
// Writes `path` through a temporary name in the same folder, a sync and a rename,
// so a reader sees the old file or the new one, never a part. The temporary name
// carries the process id and a counter and is created exclusively, so two stations
// writing into one folder at once never share it; it is removed on failure.
Status WriteFileAtomic(Env& env, const std::string& path, std::string_view data);
// Copies `from` to `to` the same way (through a temporary name in the folder of
// `to`, synced, then renamed over `to`), in pieces, so large tables need no
// memory of their size. kNotFound when `from` is missing; `to` is untouched on failure.
Status CopyFile(Env& env, const std::string& from, const std::string& to);
// A name in the folder of `path` for a temporary file: "<name>.<pid>-<n>.tmp~".
// Unique in this process; the caller creates it with OpenMode::kCreateNew.
std::string TemporaryNameFor(Env& env, const std::string& path);

}  // namespace dodu::platform

#endif  // DODU_PLATFORM_ENV_H_
