#include "platform/fault_env.h"

#include <algorithm>

namespace dodu::platform {
namespace {

using Op = FaultEnv::Op;

class FaultFile final : public File {
 public:
  FaultFile(FaultEnv& env, std::unique_ptr<File> base) : env_(env), base_(std::move(base)) {}

  Result<size_t> ReadAt(uint64_t offset, std::span<std::byte> out) override {
    DODU_RETURN_IF_ERROR(env_.Check(Op::kRead, path()));
    return base_->ReadAt(offset, out);
  }
  Status WriteAt(uint64_t offset, std::span<const std::byte> data) override {
    FaultEnv::WriteVerdict v = env_.CheckWrite(path(), data.size());
    if (v.status.ok()) return base_->WriteAt(offset, data);
    if (v.keep > 0) (void)base_->WriteAt(offset, data.first(std::min(v.keep, data.size())));
    return v.status;
  }
  Result<uint64_t> Size() override {
    DODU_RETURN_IF_ERROR(env_.Check(Op::kSize, path()));
    return base_->Size();
  }
  Status Truncate(uint64_t size) override {
    DODU_RETURN_IF_ERROR(env_.Check(Op::kTruncate, path()));
    return base_->Truncate(size);
  }
  Status Sync() override {
    DODU_RETURN_IF_ERROR(env_.Check(Op::kSync, path()));
    return base_->Sync();
  }
  Status TryLock(uint64_t offset, uint64_t length, LockType type) override {
    DODU_RETURN_IF_ERROR(env_.Check(Op::kLock, path()));
    return base_->TryLock(offset, length, type);
  }
  Status Unlock(uint64_t offset, uint64_t length) override {
    DODU_RETURN_IF_ERROR(env_.Check(Op::kUnlock, path()));
    return base_->Unlock(offset, length);
  }
  const std::string& path() const override { return base_->path(); }

 private:
  FaultEnv& env_;
  std::unique_ptr<File> base_;
};

}  // namespace

const char* FaultOpName(FaultEnv::Op op) {
  switch (op) {
    case Op::kOpen:
      return "open";
    case Op::kRead:
      return "read";
    case Op::kWrite:
      return "write";
    case Op::kTruncate:
      return "truncate";
    case Op::kSync:
      return "sync";
    case Op::kLock:
      return "lock";
    case Op::kUnlock:
      return "unlock";
    case Op::kSize:
      return "size";
    case Op::kRename:
      return "rename";
    case Op::kRemove:
      return "remove";
    case Op::kCreateDir:
      return "mkdir";
    case Op::kRemoveDir:
      return "rmdir";
    case Op::kListDir:
      return "list";
    case Op::kFreeSpace:
      return "free space";
    case Op::kSpawn:
      return "spawn";
  }
  return "?";
}

FaultEnv::FaultEnv(Env& base) : base_(base) {}

void FaultEnv::FailNth(Op op, int n, StatusCode code) {
  size_t i = static_cast<size_t>(op);
  plans_[i] = {n > 0 ? counts_[i] + n : 0, false, code};
}

void FaultEnv::FailFrom(Op op, int n, StatusCode code) {
  size_t i = static_cast<size_t>(op);
  plans_[i] = {n > 0 ? counts_[i] + n : 0, true, code};
}

void FaultEnv::CrashAfterWrites(int writes, size_t partial_bytes) {
  crash_at_write_ = counts_[static_cast<size_t>(Op::kWrite)] + (writes < 0 ? 0 : writes) + 1;
  crash_partial_ = partial_bytes;
  crashed_ = false;
}

void FaultEnv::Clear() {
  plans_.fill(Plan{});
  crash_at_write_ = 0;
  crash_partial_ = 0;
  crashed_ = false;
}

bool FaultEnv::Mutates(Op op) {
  switch (op) {
    case Op::kWrite:
    case Op::kTruncate:
    case Op::kSync:
    case Op::kRename:
    case Op::kRemove:
    case Op::kCreateDir:
    case Op::kRemoveDir:
      return true;
    default:
      return false;
  }
}

Status FaultEnv::Injected(Op op, const std::string& what, StatusCode code, int call) {
  ++failures_;
  return Status(code, what + ": injected " + FaultOpName(op) + " failure (call " +
                          std::to_string(call) + ")");
}

Status FaultEnv::Check(Op op, const std::string& what) {
  size_t i = static_cast<size_t>(op);
  int call = ++counts_[i];
  if (crashed_ && Mutates(op)) {
    ++failures_;
    return Status::IoError(what + ": " + FaultOpName(op) + " after a simulated crash");
  }
  Plan& plan = plans_[i];
  if (plan.fail_at > 0 && (call == plan.fail_at || (plan.sticky && call > plan.fail_at))) {
    StatusCode code = plan.code;
    if (!plan.sticky) plan = Plan{};
    return Injected(op, what, code, call);
  }
  return Status::Ok();
}

FaultEnv::WriteVerdict FaultEnv::CheckWrite(const std::string& what, size_t size) {
  int call = counts_[static_cast<size_t>(Op::kWrite)] + 1;
  if (!crashed_ && crash_at_write_ > 0 && call == crash_at_write_) {
    ++counts_[static_cast<size_t>(Op::kWrite)];
    crashed_ = true;
    ++failures_;
    return {Status::IoError(what + ": simulated crash during write " + std::to_string(call)),
            std::min(crash_partial_, size)};
  }
  return {Check(Op::kWrite, what), 0};
}

Result<std::unique_ptr<File>> FaultEnv::Open(const std::string& path, OpenMode mode) {
  DODU_RETURN_IF_ERROR(Check(Op::kOpen, path));
  if (crashed_ && mode != OpenMode::kRead && mode != OpenMode::kReadWrite) {
    ++failures_;
    return Status::IoError(path + ": open after a simulated crash");
  }
  DODU_ASSIGN_OR_RETURN(auto file, base_.Open(path, mode));
  return std::unique_ptr<File>(new FaultFile(*this, std::move(file)));
}

Status FaultEnv::Remove(const std::string& path) {
  DODU_RETURN_IF_ERROR(Check(Op::kRemove, path));
  return base_.Remove(path);
}

Status FaultEnv::Rename(const std::string& from, const std::string& to) {
  DODU_RETURN_IF_ERROR(Check(Op::kRename, from));
  return base_.Rename(from, to);
}

Status FaultEnv::CreateDir(const std::string& path) {
  DODU_RETURN_IF_ERROR(Check(Op::kCreateDir, path));
  return base_.CreateDir(path);
}

Status FaultEnv::RemoveDir(const std::string& path) {
  DODU_RETURN_IF_ERROR(Check(Op::kRemoveDir, path));
  return base_.RemoveDir(path);
}

Result<std::vector<DirEntry>> FaultEnv::ListDir(const std::string& path) {
  DODU_RETURN_IF_ERROR(Check(Op::kListDir, path));
  return base_.ListDir(path);
}

Result<uint64_t> FaultEnv::FreeSpace(const std::string& path) {
  DODU_RETURN_IF_ERROR(Check(Op::kFreeSpace, path));
  return base_.FreeSpace(path);
}

Result<SpawnResult> FaultEnv::Spawn(const std::vector<std::string>& argv,
                                    const SpawnOptions& options) {
  DODU_RETURN_IF_ERROR(Check(Op::kSpawn, argv.empty() ? std::string() : argv[0]));
  return base_.Spawn(argv, options);
}

}  // namespace dodu::platform
