// An Env over another Env that fails chosen calls, for tests that check nothing
// breaks when the disk does: "fail the 3rd write", "every rename from the 2nd on
// fails", "the machine stops after 5 writes". Every call is counted per kind;
// Files opened through it are wrapped and count (and fail) too.
//
//   MemoryEnv mem;
//   FaultEnv env(mem);
//   env.FailNth(FaultEnv::Op::kWrite, 3);          // the 3rd write from now fails
//   ... run the operation on `env`, expect a Status, check the files on `mem` ...
//
// A failed call does nothing to the Env below (it is not forwarded). Injected
// failures are kIoError unless another code is chosen (kLocked stands for another
// station holding a lock). The FaultEnv does not own the Env below; Files opened
// through it must be closed before the FaultEnv is destroyed.
#ifndef DODU_PLATFORM_FAULT_ENV_H_
#define DODU_PLATFORM_FAULT_ENV_H_

#include <array>
#include <cstddef>
#include <string>

#include "platform/env.h"

namespace dodu::platform {

class FaultEnv final : public Env {
 public:
  enum class Op {
    kOpen,      // Env::Open, every mode
    kRead,      // File::ReadAt
    kWrite,     // File::WriteAt
    kTruncate,  // File::Truncate
    kSync,      // File::Sync
    kLock,      // File::TryLock
    kUnlock,    // File::Unlock
    kSize,      // File::Size
    kRename,
    kRemove,
    kCreateDir,
    kRemoveDir,
    kListDir,
    kFreeSpace,
    kSpawn,
  };
  static constexpr size_t kOpCount = static_cast<size_t>(Op::kSpawn) + 1;

  explicit FaultEnv(Env& base);

  // The `n`th call of `op` counted from now (1 = the next one) fails, once.
  void FailNth(Op op, int n, StatusCode code = StatusCode::kIoError);
  // Every call of `op` from the `n`th counted from now on fails, until Clear().
  void FailFrom(Op op, int n, StatusCode code = StatusCode::kIoError);

  // A crash: the first `writes` writes from now succeed; the next one stores only
  // its first `partial_bytes` bytes (a torn write) and fails; from then on every
  // call that would change the disk (writes, truncates, syncs, renames, removes,
  // folder changes, opens that may create or truncate) fails, as if the machine
  // had stopped. Reads still work. Check the files through the Env below afterwards.
  void CrashAfterWrites(int writes, size_t partial_bytes = 0);
  bool crashed() const { return crashed_; }

  // Forgets every planned failure and the crash; counts stay.
  void Clear();
  // Calls of `op` so far (failed ones included).
  int count(Op op) const { return counts_[static_cast<size_t>(op)]; }
  void ResetCounts() { counts_.fill(0); }
  // Injected failures so far.
  int failures() const { return failures_; }

  Result<std::unique_ptr<File>> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override { return base_.Exists(path); }
  bool IsDirectory(const std::string& path) override { return base_.IsDirectory(path); }
  Status Remove(const std::string& path) override;
  Status Rename(const std::string& from, const std::string& to) override;
  Status CreateDir(const std::string& path) override;
  Status RemoveDir(const std::string& path) override;
  Result<std::vector<DirEntry>> ListDir(const std::string& path) override;
  Result<uint64_t> FreeSpace(const std::string& path) override;
  Result<bool> IsNetworkFilesystem(const std::string& path) override {
    return base_.IsNetworkFilesystem(path);
  }
  Result<SpawnResult> Spawn(const std::vector<std::string>& argv,
                            const SpawnOptions& options) override;
  Result<SpawnResult> Wait(int pid) override { return base_.Wait(pid); }
  std::optional<std::string> GetEnv(const std::string& name) override { return base_.GetEnv(name); }
  Clock& clock() override { return base_.clock(); }
  int ProcessId() override { return base_.ProcessId(); }

  // Counts a call of `op` on `what` and tells whether it must fail (used by the
  // wrapped Files as well).
  Status Check(Op op, const std::string& what);
  // Counts a write of `size` bytes and tells whether it goes through; when the
  // crash happens on it, `keep` is the number of its bytes to store before failing.
  struct WriteVerdict {
    Status status;
    size_t keep = 0;  // bytes to store before failing, when !status.ok()
  };
  WriteVerdict CheckWrite(const std::string& what, size_t size);

 private:
  struct Plan {
    int fail_at = 0;  // absolute count of the call that fails; 0 = none
    bool sticky = false;
    StatusCode code = StatusCode::kIoError;
  };
  static bool Mutates(Op op);
  Status Injected(Op op, const std::string& what, StatusCode code, int call);

  Env& base_;
  std::array<int, kOpCount> counts_{};
  std::array<Plan, kOpCount> plans_{};
  int failures_ = 0;
  int crash_at_write_ = 0;  // absolute write count that crashes; 0 = none
  size_t crash_partial_ = 0;
  bool crashed_ = false;
};

const char* FaultOpName(FaultEnv::Op op);

}  // namespace dodu::platform

#endif  // DODU_PLATFORM_FAULT_ENV_H_
