// Whole-file helpers shared by every Env.
#include <string>

#include "platform/env.h"

namespace dodu::platform {

Result<std::string> ReadWholeFile(Env& env, const std::string& path) {
  DODU_ASSIGN_OR_RETURN(auto file, env.Open(path, OpenMode::kRead));
  DODU_ASSIGN_OR_RETURN(uint64_t size, file->Size());
  std::string data(size, '\0');
  DODU_ASSIGN_OR_RETURN(size_t n, file->ReadAt(0, std::as_writable_bytes(std::span(data))));
  data.resize(n);
  return data;
}

Status WriteFileAtomic(Env& env, const std::string& path, std::string_view data) {
  std::string tmp = path + ".tmp~";
  {
    DODU_ASSIGN_OR_RETURN(auto file, env.Open(tmp, OpenMode::kTruncate));
    Status st = file->WriteAt(0, std::as_bytes(std::span(data.data(), data.size())));
    if (st.ok()) st = file->Sync();
    if (!st.ok()) {
      file.reset();
      (void)env.Remove(tmp);
      return st;
    }
  }
  Status st = env.Rename(tmp, path);
  if (!st.ok()) (void)env.Remove(tmp);
  return st;
}

Status CopyFile(Env& env, const std::string& from, const std::string& to) {
  DODU_ASSIGN_OR_RETURN(std::string data, ReadWholeFile(env, from));
  return WriteFileAtomic(env, to, data);
}

}  // namespace dodu::platform
