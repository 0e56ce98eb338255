#include "platform/memory_env.h"

#include <algorithm>
#include <limits>
#include <set>

#include "platform/paths.h"

namespace dodu::platform {
namespace {

constexpr uint64_t kToEnd = std::numeric_limits<uint64_t>::max();

struct LockRecord {
  uint64_t owner;
  uint64_t start;
  uint64_t end;  // exclusive; kToEnd for "to the end of the file"
  LockType type;
};

struct Inode {
  std::string data;
  std::vector<LockRecord> locks;
};

// "/a/b" form: absolute, single separators, no trailing '/', "." and ".." resolved.
std::string Normalize(std::string_view path) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && path[i] == '/') ++i;
    size_t j = path.find('/', i);
    if (j == std::string_view::npos) j = path.size();
    std::string part(path.substr(i, j - i));
    if (part.empty() || part == ".") {
    } else if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else {
      parts.push_back(std::move(part));
    }
    i = j;
  }
  std::string out;
  for (const auto& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

std::string Parent(const std::string& norm) {
  if (norm == "/") return "/";
  size_t slash = norm.find_last_of('/');
  return slash == 0 ? "/" : norm.substr(0, slash);
}

bool IsUnder(const std::string& path, const std::string& folder) {
  if (folder == "/") return true;
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '/';
}

// Removes `owner`'s locks over [start, end), splitting those that stick out.
void CutOwnRange(std::vector<LockRecord>& locks, uint64_t owner, uint64_t start, uint64_t end) {
  std::vector<LockRecord> kept;
  for (const auto& l : locks) {
    if (l.owner != owner || l.end <= start || l.start >= end) {
      kept.push_back(l);
      continue;
    }
    if (l.start < start) kept.push_back({l.owner, l.start, start, l.type});
    if (l.end > end) kept.push_back({l.owner, end, l.end, l.type});
  }
  locks = std::move(kept);
}

}  // namespace

struct MemoryEnv::State {
  std::map<std::string, std::shared_ptr<Inode>> files;
  std::set<std::string> dirs{"/"};
  std::optional<uint64_t> capacity;  // total bytes the disk holds, when set
  uint64_t next_owner = 1;

  uint64_t Used() const {
    uint64_t used = 0;
    for (const auto& [name, inode] : files) used += inode->data.size();
    return used;
  }
  uint64_t Free() const {
    if (!capacity) return kDefaultFreeSpace;
    uint64_t used = Used();
    return used >= *capacity ? 0 : *capacity - used;
  }
};

namespace {

class MemoryFile final : public File {
 public:
  MemoryFile(std::shared_ptr<MemoryEnv::State> state, std::shared_ptr<Inode> inode,
             std::string path, bool writable)
      : state_(std::move(state)),
        inode_(std::move(inode)),
        path_(std::move(path)),
        writable_(writable),
        owner_(state_->next_owner++) {}

  ~MemoryFile() override {
    auto& locks = inode_->locks;
    locks.erase(std::remove_if(locks.begin(), locks.end(),
                               [&](const LockRecord& l) { return l.owner == owner_; }),
                locks.end());
  }

  Result<size_t> ReadAt(uint64_t offset, std::span<std::byte> out) override {
    const std::string& d = inode_->data;
    if (offset >= d.size()) return size_t{0};
    size_t n = std::min<uint64_t>(out.size(), d.size() - offset);
    std::copy_n(reinterpret_cast<const std::byte*>(d.data()) + offset, n, out.data());
    return n;
  }

  Status WriteAt(uint64_t offset, std::span<const std::byte> data) override {
    if (!writable_) return Status::IoError(path_ + ": write: opened read-only");
    if (data.empty()) return Status::Ok();
    std::string& d = inode_->data;
    uint64_t end = offset + data.size();
    if (end < offset) return Status::Invalid(path_ + ": write beyond the largest offset");
    if (end > d.size()) DODU_RETURN_IF_ERROR(Grow(end - d.size()));
    if (end > d.size()) d.resize(end, '\0');
    std::copy_n(reinterpret_cast<const char*>(data.data()), data.size(), d.data() + offset);
    return Status::Ok();
  }

  Result<uint64_t> Size() override { return static_cast<uint64_t>(inode_->data.size()); }

  Status Truncate(uint64_t size) override {
    if (!writable_) return Status::IoError(path_ + ": truncate: opened read-only");
    if (size > inode_->data.size()) DODU_RETURN_IF_ERROR(Grow(size - inode_->data.size()));
    inode_->data.resize(size, '\0');
    return Status::Ok();
  }

  Status Sync() override { return Status::Ok(); }

  Status TryLock(uint64_t offset, uint64_t length, LockType type) override {
    if (type == LockType::kExclusive && !writable_)
      return Status::IoError(path_ + ": lock: an exclusive lock needs a file open for writing");
    uint64_t end = length == 0 ? kToEnd : offset + length;
    if (end < offset) return Status::Invalid(path_ + ": lock range overflows");
    for (const auto& l : inode_->locks) {
      if (l.owner == owner_ || l.end <= offset || l.start >= end) continue;
      if (type == LockType::kExclusive || l.type == LockType::kExclusive)
        return Status::Locked(path_ + ": locked by another station");
    }
    CutOwnRange(inode_->locks, owner_, offset, end);
    inode_->locks.push_back({owner_, offset, end, type});
    return Status::Ok();
  }

  Status Unlock(uint64_t offset, uint64_t length) override {
    uint64_t end = length == 0 ? kToEnd : offset + length;
    if (end < offset) return Status::Invalid(path_ + ": lock range overflows");
    CutOwnRange(inode_->locks, owner_, offset, end);
    return Status::Ok();
  }

  const std::string& path() const override { return path_; }

 private:
  Status Grow(uint64_t bytes) {
    if (bytes > state_->Free()) return Status::IoError(path_ + ": write: no space left on device");
    return Status::Ok();
  }

  std::shared_ptr<MemoryEnv::State> state_;
  std::shared_ptr<Inode> inode_;
  std::string path_;
  bool writable_;
  uint64_t owner_;
};

}  // namespace

MemoryEnv::MemoryEnv() : state_(std::make_shared<State>()) {}
MemoryEnv::~MemoryEnv() = default;

Result<std::unique_ptr<File>> MemoryEnv::Open(const std::string& path, OpenMode mode) {
  std::string p = Normalize(path);
  if (state_->dirs.count(p)) return Status::IoError(path + ": open: is a folder");
  if (!state_->dirs.count(Parent(p))) return Status::NotFound(path + ": open: no such folder");
  auto it = state_->files.find(p);
  bool exists = it != state_->files.end();
  switch (mode) {
    case OpenMode::kRead:
    case OpenMode::kReadWrite:
      if (!exists) return Status::NotFound(path + ": open: no such file");
      break;
    case OpenMode::kCreateNew:
      if (exists) return Status::Invalid(path + ": already exists");
      [[fallthrough]];
    case OpenMode::kCreate:
    case OpenMode::kTruncate:
      if (!exists) it = state_->files.emplace(p, std::make_shared<Inode>()).first;
      if (mode == OpenMode::kTruncate) it->second->data.clear();
      break;
  }
  return std::unique_ptr<File>(new MemoryFile(state_, it->second, path, mode != OpenMode::kRead));
}

bool MemoryEnv::Exists(const std::string& path) {
  std::string p = Normalize(path);
  return state_->files.count(p) > 0 || state_->dirs.count(p) > 0;
}

bool MemoryEnv::IsDirectory(const std::string& path) {
  return state_->dirs.count(Normalize(path)) > 0;
}

Status MemoryEnv::Remove(const std::string& path) {
  std::string p = Normalize(path);
  if (state_->dirs.count(p)) return Status::IoError(path + ": remove: is a folder");
  if (state_->files.erase(p) == 0) return Status::NotFound(path + ": remove: no such file");
  return Status::Ok();
}

Status MemoryEnv::Rename(const std::string& from, const std::string& to) {
  std::string f = Normalize(from), t = Normalize(to);
  if (!state_->dirs.count(Parent(t))) return Status::NotFound(to + ": rename: no such folder");
  if (auto it = state_->files.find(f); it != state_->files.end()) {
    if (state_->dirs.count(t)) return Status::IoError(from + ": rename to " + to + ": is a folder");
    auto inode = it->second;
    state_->files.erase(it);
    state_->files[t] = std::move(inode);
    return Status::Ok();
  }
  if (!state_->dirs.count(f) || f == "/") return Status::NotFound(from + ": rename: not found");
  if (f == t) return Status::Ok();
  if (IsUnder(t, f)) return Status::Invalid(from + ": rename into itself: " + to);
  if (state_->files.count(t)) return Status::IoError(from + ": rename to " + to + ": not a folder");
  if (state_->dirs.count(t)) {
    for (const auto& d : state_->dirs)
      if (IsUnder(d, t)) return Status::IoError(to + ": rename: folder not empty");
    for (const auto& [name, inode] : state_->files)
      if (IsUnder(name, t)) return Status::IoError(to + ": rename: folder not empty");
  }
  auto moved = [&](const std::string& name) { return t + name.substr(f.size()); };
  std::set<std::string> dirs;
  for (const auto& d : state_->dirs) dirs.insert(d == f || IsUnder(d, f) ? moved(d) : d);
  std::map<std::string, std::shared_ptr<Inode>> files;
  for (auto& [name, inode] : state_->files) files[IsUnder(name, f) ? moved(name) : name] = inode;
  state_->dirs = std::move(dirs);
  state_->files = std::move(files);
  return Status::Ok();
}

Status MemoryEnv::CreateDir(const std::string& path) {
  std::string p = Normalize(path);
  if (state_->dirs.count(p)) return Status::Ok();
  if (state_->files.count(p)) return Status::IoError(path + ": mkdir: a file has that name");
  DODU_RETURN_IF_ERROR(CreateDir(Parent(p)));
  state_->dirs.insert(p);
  return Status::Ok();
}

Status MemoryEnv::RemoveDir(const std::string& path) {
  std::string p = Normalize(path);
  if (!state_->dirs.count(p)) return Status::NotFound(path + ": rmdir: no such folder");
  if (p == "/") return Status::IoError(path + ": rmdir: the root");
  for (const auto& d : state_->dirs)
    if (IsUnder(d, p)) return Status::IoError(path + ": rmdir: folder not empty");
  for (const auto& [name, inode] : state_->files)
    if (IsUnder(name, p)) return Status::IoError(path + ": rmdir: folder not empty");
  state_->dirs.erase(p);
  return Status::Ok();
}

Result<std::vector<DirEntry>> MemoryEnv::ListDir(const std::string& path) {
  std::string p = Normalize(path);
  if (!state_->dirs.count(p)) return Status::NotFound(path + ": list: no such folder");
  std::vector<DirEntry> out;
  for (const auto& d : state_->dirs)
    if (d != p && Parent(d) == p) out.push_back({d.substr(d.find_last_of('/') + 1), true, 0});
  for (const auto& [name, inode] : state_->files)
    if (Parent(name) == p)
      out.push_back({name.substr(name.find_last_of('/') + 1), false, inode->data.size()});
  std::sort(out.begin(), out.end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  return out;
}

Result<uint64_t> MemoryEnv::FreeSpace(const std::string& path) {
  if (!Exists(path)) return Status::NotFound(path + ": statvfs: not found");
  return state_->Free();
}

Result<bool> MemoryEnv::IsNetworkFilesystem(const std::string& path) {
  std::string p = Normalize(path);
  if (!Exists(p)) return Status::NotFound(path + ": statfs: not found");
  bool network = false;
  size_t best = 0;
  for (const auto& [prefix, flag] : network_) {
    if ((p == prefix || IsUnder(p, prefix)) && prefix.size() >= best) {
      best = prefix.size();
      network = flag;
    }
  }
  return network;
}

Result<SpawnResult> MemoryEnv::Spawn(const std::vector<std::string>& argv,
                                     const SpawnOptions& options) {
  if (argv.empty()) return Status::Invalid("spawn: empty argument vector");
  spawned_.push_back({argv, options});
  int pid = next_child_pid_++;
  std::optional<SpawnResult> ran;
  for (const std::string& key : {argv[0], BaseName(argv[0])}) {
    if (auto h = handlers_.find(key); h != handlers_.end()) {
      SpawnHandler handler = h->second;  // a handler may script again
      DODU_ASSIGN_OR_RETURN(SpawnResult r, handler(*this, argv, options));
      ran = r;
      break;
    }
    if (auto e = exit_status_.find(key); e != exit_status_.end()) {
      ran = SpawnResult{0, e->second};
      break;
    }
  }
  if (!ran) return Status::NotFound(argv[0] + ": spawn: program not found");
  ran->pid = pid;
  if (options.wait) return *ran;
  unwaited_[pid] = *ran;
  return SpawnResult{pid, 0};
}

Result<SpawnResult> MemoryEnv::Wait(int pid) {
  auto it = unwaited_.find(pid);
  if (it == unwaited_.end()) return Status::NotFound("wait: no child " + std::to_string(pid));
  SpawnResult r = it->second;
  unwaited_.erase(it);
  return r;
}

std::optional<std::string> MemoryEnv::GetEnv(const std::string& name) {
  auto it = vars_.find(name);
  if (it == vars_.end()) return std::nullopt;
  return it->second;
}

void MemoryEnv::SetEnv(const std::string& name, const std::string& value) { vars_[name] = value; }
void MemoryEnv::UnsetEnv(const std::string& name) { vars_.erase(name); }

void MemoryEnv::SetFreeSpace(uint64_t bytes) { state_->capacity = state_->Used() + bytes; }

void MemoryEnv::SetNetwork(const std::string& prefix, bool network) {
  network_[Normalize(prefix)] = network;
}

void MemoryEnv::SetSpawnExitStatus(const std::string& program, int exit_status) {
  exit_status_[program] = exit_status;
}

void MemoryEnv::SetSpawnHandler(const std::string& program, SpawnHandler handler) {
  handlers_[program] = std::move(handler);
}

Status MemoryEnv::PutFile(const std::string& path, std::string_view data) {
  DODU_RETURN_IF_ERROR(CreateDir(Parent(Normalize(path))));
  DODU_ASSIGN_OR_RETURN(auto file, Open(path, OpenMode::kTruncate));
  return file->WriteAt(0, std::as_bytes(std::span(data.data(), data.size())));
}

}  // namespace dodu::platform
