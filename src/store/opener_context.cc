// The file-resolution rule and the folder helpers of the opener.
#include "store/opener_context.h"

namespace dodu::store {

bool HasFolder(const std::string& name) { return name.find('/') != std::string::npos; }

const std::string& FolderPath(const OpenerContext& ctx, Folder f) {
  switch (f) {
    case Folder::kData:
      return ctx.data_folder;
    case Folder::kWork:
      return ctx.work_folder;
    case Folder::kInstallation:
      break;
  }
  return ctx.installation_folder;
}

std::optional<std::string> FindExisting(const OpenerContext& ctx, const std::string& name) {
  std::vector<std::string> candidates;
  if (HasFolder(name)) {
    candidates.push_back(name);
  } else {
    candidates.push_back(platform::JoinPath(ctx.data_folder, name));
    candidates.push_back(platform::JoinPath(ctx.installation_folder, name));
  }
  for (const std::string& c : candidates) {
    Result<std::string> found = platform::ResolveExisting(ctx.env, c);
    if (found.ok() && !ctx.env.IsDirectory(*found)) return *found;
  }
  return std::nullopt;
}

std::string PathForCreate(const OpenerContext& ctx, const std::string& name) {
  const std::string path = HasFolder(name) ? name : platform::JoinPath(ctx.data_folder, name);
  Result<std::string> p = platform::ResolveForCreate(ctx.env, path);
  return p.ok() ? *p : path;
}

}  // namespace dodu::store
