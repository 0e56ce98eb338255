#include "platform/internal/mount_table.h"

#include <vector>

namespace dodu::platform::internal {
namespace {

// Undoes the octal escapes of blanks, tabs, newlines and backslashes ("\040").
std::string Unescape(std::string_view s) {
  auto oct = [](char c) { return c >= '0' && c <= '7'; };
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() && oct(s[i + 1]) && oct(s[i + 2]) && oct(s[i + 3])) {
      out.push_back(
          static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0')));
      i += 3;
      continue;
    }
    out.push_back(s[i]);
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    size_t j = line.find(' ', i);
    if (j == std::string_view::npos) j = line.size();
    if (j > i) out.push_back(line.substr(i, j - i));
    i = j;
  }
  return out;
}

bool Covers(std::string_view mount, std::string_view path) {
  if (mount == "/") return !path.empty() && path.front() == '/';
  return path.size() >= mount.size() && path.compare(0, mount.size(), mount) == 0 &&
         (path.size() == mount.size() || path[mount.size()] == '/');
}

}  // namespace

std::string MountTypeFor(std::string_view mountinfo, std::string_view path) {
  std::string best_type;
  size_t best_len = 0;
  bool found = false;
  size_t pos = 0;
  while (pos < mountinfo.size()) {
    size_t end = mountinfo.find('\n', pos);
    if (end == std::string_view::npos) end = mountinfo.size();
    std::vector<std::string_view> f = Fields(mountinfo.substr(pos, end - pos));
    pos = end + 1;
    // id parent major:minor root mount-point options [optional...] - type source ...
    if (f.size() < 7) continue;
    size_t dash = 6;
    while (dash < f.size() && f[dash] != "-") ++dash;
    if (dash + 1 >= f.size()) continue;
    std::string mount = Unescape(f[4]);
    if (!Covers(mount, path)) continue;
    if (!found || mount.size() >= best_len) {
      found = true;
      best_len = mount.size();
      best_type = std::string(f[dash + 1]);
    }
  }
  return best_type;
}

bool IsNetworkFuseType(std::string_view type) {
  // fuseblk sits on a block device of this machine (ntfs-3g, exfat on USB disks).
  static constexpr std::string_view kLocal[] = {
      "fuseblk",        "fuse.fuse-overlayfs", "fuse.ntfs-3g",  "fuse.exfat",
      "fuse.lxcfs",     "fuse.squashfuse",     "fuse.bindfs",   "fuse.encfs",
      "fuse.gocryptfs", "fuse.portal",         "fuse.mergerfs", "fuse.appimaged",
  };
  for (std::string_view local : kLocal)
    if (type == local) return false;
  return true;
}

}  // namespace dodu::platform::internal
