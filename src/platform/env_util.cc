// Whole-file helpers shared by every Env.
#include <atomic>
#include <string>
#include <vector>

#include "platform/env.h"

namespace dodu::platform {
namespace {

constexpr size_t kCopyChunk = 1 << 20;
constexpr int kTemporaryAttempts = 100;

std::atomic<uint64_t> temporary_counter{0};

// Creates a fresh temporary beside `path`. kCreateNew makes the name ours even
// when another machine on the share happens to run with the same process id.
Result<std::pair<std::string, std::unique_ptr<File>>> CreateTemporary(Env& env,
                                                                      const std::string& path) {
  Status last;
  for (int i = 0; i < kTemporaryAttempts; ++i) {
    std::string tmp = TemporaryNameFor(env, path);
    auto file = env.Open(tmp, OpenMode::kCreateNew);
    if (file.ok()) return std::make_pair(tmp, std::move(file).value());
    last = file.status();
    if (last.code() != StatusCode::kInvalid) return last;  // not "already exists"
  }
  return last;
}

// Fills `file` by `write`, syncs, and renames it over `path`; removes the
// temporary on any failure.
template <typename WriteFn>
Status ReplaceThroughTemporary(Env& env, const std::string& path, WriteFn write) {
  DODU_ASSIGN_OR_RETURN(auto created, CreateTemporary(env, path));
  auto& [tmp, file] = created;
  Status st = write(*file);
  if (st.ok()) st = file->Sync();
  file.reset();
  if (st.ok()) st = env.Rename(tmp, path);
  if (!st.ok()) (void)env.Remove(tmp);
  return st;
}

}  // namespace

std::string TemporaryNameFor(Env& env, const std::string& path) {
  uint64_t n = temporary_counter.fetch_add(1, std::memory_order_relaxed);
  return path + "." + std::to_string(env.ProcessId()) + "-" + std::to_string(n) + ".tmp~";
}

Result<std::string> ReadWholeFile(Env& env, const std::string& path) {
  DODU_ASSIGN_OR_RETURN(auto file, env.Open(path, OpenMode::kRead));
  DODU_ASSIGN_OR_RETURN(uint64_t size, file->Size());
  std::string data(size, '\0');
  DODU_ASSIGN_OR_RETURN(size_t n, file->ReadAt(0, std::as_writable_bytes(std::span(data))));
  data.resize(n);
  return data;
}

Status WriteFileAtomic(Env& env, const std::string& path, std::string_view data) {
  return ReplaceThroughTemporary(env, path, [&](File& file) {
    return file.WriteAt(0, std::as_bytes(std::span(data.data(), data.size())));
  });
}

Status CopyFile(Env& env, const std::string& from, const std::string& to) {
  DODU_ASSIGN_OR_RETURN(auto source, env.Open(from, OpenMode::kRead));
  return ReplaceThroughTemporary(env, to, [&](File& file) -> Status {
    std::vector<std::byte> buffer(kCopyChunk);
    uint64_t offset = 0;
    for (;;) {
      DODU_ASSIGN_OR_RETURN(size_t n, source->ReadAt(offset, buffer));
      if (n == 0) return Status::Ok();
      DODU_RETURN_IF_ERROR(file.WriteAt(offset, std::span(buffer.data(), n)));
      offset += n;
    }
  });
}

}  // namespace dodu::platform
