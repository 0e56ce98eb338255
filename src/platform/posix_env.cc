// The Env over POSIX calls. Locks are F_OFD_SETLK locks, so two File objects of
// one process conflict like two stations do.
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/env.h"
#include "platform/internal/mount_table.h"

extern char** environ;

namespace dodu::platform {
namespace {

Status ErrnoStatus(const std::string& what, const std::string& path, int err) {
  std::string msg = path + ": " + what + ": " + std::strerror(err);
  if (err == ENOENT || err == ENOTDIR) return Status::NotFound(msg);
  // EACCES from open() or rename() is a permission problem, not another
  // station's lock: retrying would not help. Lock conflicts are told apart in Fcntl.
  if (err == EAGAIN || err == EWOULDBLOCK) return Status::Locked(msg);
  return Status::IoError(msg);
}

class SystemClock final : public Clock {
 public:
  CivilTime Now() const override {
    time_t t = time(nullptr);
    struct tm tm {};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  }
  void SleepFor(std::chrono::milliseconds d) override { std::this_thread::sleep_for(d); }
  int64_t MonotonicMillis() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

class PosixFile final : public File {
 public:
  PosixFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixFile() override { ::close(fd_); }

  Result<size_t> ReadAt(uint64_t offset, std::span<std::byte> out) override {
    size_t done = 0;
    while (done < out.size()) {
      ssize_t n = ::pread(fd_, out.data() + done, out.size() - done, offset + done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return ErrnoStatus("read", path_, errno);
      }
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    return done;
  }

  Status WriteAt(uint64_t offset, std::span<const std::byte> data) override {
    size_t done = 0;
    while (done < data.size()) {
      ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done, offset + done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return Status::IoError(path_ + ": write: " + std::strerror(errno));
      }
      done += static_cast<size_t>(n);
    }
    return Status::Ok();
  }

  Result<uint64_t> Size() override {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return ErrnoStatus("stat", path_, errno);
    return static_cast<uint64_t>(st.st_size);
  }

  Status Truncate(uint64_t size) override {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0)
      return Status::IoError(path_ + ": truncate: " + std::strerror(errno));
    return Status::Ok();
  }

  Status Sync() override {
    if (::fdatasync(fd_) != 0) return Status::IoError(path_ + ": sync: " + std::strerror(errno));
    return Status::Ok();
  }

  Status TryLock(uint64_t offset, uint64_t length, LockType type) override {
    return Fcntl(offset, length, type == LockType::kShared ? F_RDLCK : F_WRLCK, "lock");
  }
  Status Unlock(uint64_t offset, uint64_t length) override {
    return Fcntl(offset, length, F_UNLCK, "unlock");
  }
  const std::string& path() const override { return path_; }

 private:
  Status Fcntl(uint64_t offset, uint64_t length, short type, const char* what) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    fl.l_pid = 0;
    for (;;) {
      if (::fcntl(fd_, F_OFD_SETLK, &fl) == 0) return Status::Ok();
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EACCES)
        return Status::Locked(path_ + ": locked by another station");
      return Status::IoError(path_ + ": " + what + ": " + std::strerror(errno));
    }
  }

  int fd_;
  std::string path_;
};

constexpr unsigned long kFuseMagic = 0x65735546;

// FUSE serves sshfs as well as NTFS USB disks and container roots; the mount
// table tells them apart. Unknown stays "network", as before the table was read.
bool IsNetworkFuse(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return true;
  std::string resolved = real;
  ::free(real);
  std::ifstream in("/proc/self/mountinfo");
  if (!in) return true;
  std::stringstream text;
  text << in.rdbuf();
  std::string type = internal::MountTypeFor(text.str(), resolved);
  return type.empty() || internal::IsNetworkFuseType(type);
}

// Filesystem magic numbers of statfs(2) that mean "over the network".
bool IsNetworkMagic(long type) {
  switch (static_cast<unsigned long>(type)) {
    case 0x6969:      // NFS
    case 0xFF534D42:  // CIFS
    case 0xFE534D42:  // SMB2
    case 0x517B:      // SMB
    case 0x564C:      // NCP
    case kFuseMagic:  // sshfs and friends, but see IsNetworkFuse
    case 0x01021997:  // 9P / v9fs
    case 0x73757245:  // CODA
    case 0x5346414F:  // AFS
    case 0x6B414653:  // kAFS
    case 0x19830326:  // fhgfs / BeeGFS
    case 0x47504653:  // GPFS
    case 0x013111A8:  // IBRIX
    case 0x0BD00BD0:  // Lustre
    case 0x00C36400:  // CEPH
      return true;
    default:
      return false;
  }
}

class PosixEnv final : public Env {
 public:
  Result<std::unique_ptr<File>> Open(const std::string& path, OpenMode mode) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::kRead: flags |= O_RDONLY; break;
      case OpenMode::kReadWrite: flags |= O_RDWR; break;
      case OpenMode::kCreate: flags |= O_RDWR | O_CREAT; break;
      case OpenMode::kCreateNew: flags |= O_RDWR | O_CREAT | O_EXCL; break;
      case OpenMode::kTruncate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
      if (errno == EEXIST) return Status::Invalid(path + ": already exists");
      return ErrnoStatus("open", path, errno);
    }
    return std::unique_ptr<File>(new PosixFile(fd, path));
  }

  bool Exists(const std::string& path) override {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
  }
  bool IsDirectory(const std::string& path) override {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  Status Remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0) return ErrnoStatus("remove", path, errno);
    return Status::Ok();
  }
  Status Rename(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return ErrnoStatus("rename to " + to, from, errno);
    return Status::Ok();
  }
  Status CreateDir(const std::string& path) override {
    if (path.empty() || IsDirectory(path)) return Status::Ok();
    auto slash = path.find_last_of('/', path.size() > 1 ? path.size() - 2 : 0);
    if (slash != std::string::npos && slash > 0) DODU_RETURN_IF_ERROR(CreateDir(path.substr(0, slash)));
    if (::mkdir(path.c_str(), 0777) != 0) {
      int err = errno;
      // EEXIST is fine only when a folder won a race with us, not when a file has the name.
      if (err != EEXIST || !IsDirectory(path)) return ErrnoStatus("mkdir", path, err);
    }
    return Status::Ok();
  }
  Status RemoveDir(const std::string& path) override {
    if (::rmdir(path.c_str()) != 0) return ErrnoStatus("rmdir", path, errno);
    return Status::Ok();
  }
  Result<std::vector<DirEntry>> ListDir(const std::string& path) override {
    DIR* d = ::opendir(path.c_str());
    if (d == nullptr) return ErrnoStatus("list", path, errno);
    std::vector<DirEntry> out;
    while (struct dirent* e = ::readdir(d)) {
      std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      DirEntry entry{name, false, 0};
      struct stat st {};
      std::string full = path + (path.ends_with('/') ? "" : "/") + name;
      if (::stat(full.c_str(), &st) == 0) {
        entry.is_dir = S_ISDIR(st.st_mode);
        entry.size = static_cast<uint64_t>(st.st_size);
      }
      out.push_back(std::move(entry));
    }
    ::closedir(d);
    std::sort(out.begin(), out.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    return out;
  }
  Result<uint64_t> FreeSpace(const std::string& path) override {
    struct statvfs sv {};
    if (::statvfs(path.c_str(), &sv) != 0) return ErrnoStatus("statvfs", path, errno);
    return static_cast<uint64_t>(sv.f_bavail) * sv.f_frsize;
  }
  Result<bool> IsNetworkFilesystem(const std::string& path) override {
    struct statfs sf {};
    if (::statfs(path.c_str(), &sf) != 0) return ErrnoStatus("statfs", path, errno);
    if (static_cast<unsigned long>(sf.f_type) == kFuseMagic) return IsNetworkFuse(path);
    return IsNetworkMagic(sf.f_type);
  }

  Result<SpawnResult> Spawn(const std::vector<std::string>& argv,
                            const SpawnOptions& options) override {
    if (argv.empty()) return Status::Invalid("spawn: empty argument vector");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    struct Cleanup {
      posix_spawn_file_actions_t* a;
      ~Cleanup() { posix_spawn_file_actions_destroy(a); }
    } cleanup{&actions};
    int arc = 0;
    if (!options.stdin_path.empty() && arc == 0)
      arc = posix_spawn_file_actions_addopen(&actions, 0, options.stdin_path.c_str(), O_RDONLY, 0);
    if (!options.stdout_path.empty() && arc == 0)
      arc = posix_spawn_file_actions_addopen(&actions, 1, options.stdout_path.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (!options.stderr_path.empty() && arc == 0)
      arc = posix_spawn_file_actions_addopen(&actions, 2, options.stderr_path.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (!options.cwd.empty() && arc == 0)
      arc = posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());
    if (arc != 0) return ErrnoStatus("spawn", argv[0], arc);

    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    std::vector<std::string> env_store;
    for (char** e = environ; *e != nullptr; ++e) {
      std::string kv = *e;
      bool replaced = false;
      for (const auto& [k, v] : options.extra_env)
        if (kv.compare(0, k.size() + 1, k + "=") == 0) replaced = true;
      if (!replaced) env_store.push_back(std::move(kv));
    }
    for (const auto& [k, v] : options.extra_env) env_store.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (auto& kv : env_store) envp.push_back(kv.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    // glibc reports a failed exec (program missing, not executable) and a failed
    // file action (cwd or redirection) here, as the error of posix_spawnp itself.
    int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    if (rc != 0) return ErrnoStatus("spawn", argv[0], rc);
    SpawnResult result;
    result.pid = pid;
    if (!options.wait) return result;
    return Wait(pid);
  }

  Result<SpawnResult> Wait(int pid) override {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
      if (errno == ECHILD) return Status::NotFound("wait: no child " + std::to_string(pid));
      if (errno != EINTR) return ErrnoStatus("wait", std::to_string(pid), errno);
    }
    SpawnResult result;
    result.pid = pid;
    if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status)) result.exit_status = 128 + WTERMSIG(status);
    return result;
  }

  std::optional<std::string> GetEnv(const std::string& name) override {
    const char* v = ::getenv(name.c_str());
    if (v == nullptr) return std::nullopt;
    return std::string(v);
  }

  Clock& clock() override { return clock_; }
  int ProcessId() override { return static_cast<int>(::getpid()); }

 private:
  SystemClock clock_;
};

}  // namespace

std::unique_ptr<Env> NewPosixEnv() { return std::make_unique<PosixEnv>(); }
std::unique_ptr<Clock> NewSystemClock() { return std::make_unique<SystemClock>(); }

}  // namespace dodu::platform
