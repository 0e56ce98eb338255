#include "platform/paths.h"

#include <algorithm>
#include <cctype>

namespace dodu::platform {
namespace {

bool IsSep(char c) { return c == '/' || c == '\\'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Collapses runs of '/' and drops a trailing one (the root stays "/").
std::string TidyPosix(std::string_view p) {
  std::string out;
  out.reserve(p.size());
  for (char c : p) {
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out.push_back(c);
  }
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

// The components of a Windows-style tail, split on either separator, "." dropped
// and ".." going up; `clamp` keeps ".." from leaving the root (a rooted name).
std::vector<std::string> SplitComponents(std::string_view tail, bool clamp) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < tail.size()) {
    while (i < tail.size() && IsSep(tail[i])) ++i;
    size_t j = i;
    while (j < tail.size() && !IsSep(tail[j])) ++j;
    if (j > i) {
      std::string part(tail.substr(i, j - i));
      if (part == ".") {
      } else if (part == "..") {
        if (!parts.empty() && parts.back() != "..") {
          parts.pop_back();
        } else if (!clamp) {
          parts.push_back(part);
        }
      } else {
        parts.push_back(std::move(part));
      }
    }
    i = j;
  }
  return parts;
}

// Length in bytes of the UTF-8 character starting with `lead` (1 for stray bytes).
size_t CharLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Lexical normal form for comparing folder names: one '\' between parts, no
// trailing one, folded case.
std::string FolderKey(std::string_view p) {
  std::string out;
  for (char c : p) {
    char s = IsSep(c) ? '\\' : c;
    if (s == '\\' && !out.empty() && out.back() == '\\') continue;
    out.push_back(s);
  }
  while (out.size() > 1 && out.back() == '\\') out.pop_back();
  return FoldCase(out);
}

// The first entry of `folder` whose name equals `name` without case (entries are
// in byte order, so the choice is the same on every run).
Result<std::optional<std::string>> FindVariant(Env& env, const std::string& folder,
                                               std::string_view name) {
  DODU_ASSIGN_OR_RETURN(auto entries, env.ListDir(folder.empty() ? "." : folder));
  for (const auto& e : entries) {
    if (EqualsIgnoreCase(e.name, name)) return std::optional<std::string>(e.name);
  }
  return std::optional<std::string>();
}

}  // namespace

std::string FoldCase(std::string_view name) {
  std::string out(name);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
    } else if (c == 0xC3 && i + 1 < out.size()) {
      // U+00E0..U+00FE (except U+00F7, the division sign) -> U+00C0..U+00DE.
      unsigned char n = static_cast<unsigned char>(out[i + 1]);
      if (n >= 0xA0 && n <= 0xBE && n != 0xB7) out[i + 1] = static_cast<char>(n - 0x20);
      ++i;
    }
  }
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

bool SameFolder(std::string_view a, std::string_view b) { return FolderKey(a) == FolderKey(b); }

std::string JoinPath(std::string_view folder, std::string_view name) {
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  if (folder.empty()) return std::string(name);
  std::string out(folder);
  if (out.back() != '/') out.push_back('/');
  out.append(name);
  return out;
}

std::string ParentPath(std::string_view native) {
  std::string p = TidyPosix(native);
  size_t slash = p.find_last_of('/');
  if (slash == std::string::npos) return "";
  if (slash == 0) return p.size() > 1 ? "/" : "";
  return p.substr(0, slash);
}

std::string BaseName(std::string_view native) {
  std::string p = TidyPosix(native);
  if (p == "/") return "";
  size_t slash = p.find_last_of('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

bool GlobMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  std::string p = FoldCase(pattern);
  std::string n = FoldCase(name);
  size_t pi = 0, ni = 0;
  size_t star_p = std::string::npos, star_n = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == '*') {
      star_p = pi++;
      star_n = ni;
    } else if (pi < p.size() && p[pi] == '?') {
      ++pi;
      ni += CharLength(static_cast<unsigned char>(n[ni]));
    } else if (pi < p.size() && p[pi] == n[ni]) {
      ++pi;
      ++ni;
    } else if (star_p != std::string::npos) {
      // Let the last '*' swallow one more character and try again.
      pi = star_p + 1;
      star_n += CharLength(static_cast<unsigned char>(n[star_n]));
      ni = star_n;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size() && ni == n.size();
}

PathMap::PathMap() { drives_['C'] = "/"; }

Status PathMap::SetDrive(char letter, std::string mount) {
  if (!IsAsciiLetter(letter)) return Status::Invalid(std::string("drive letter '") + letter + "'");
  if (mount.empty() || mount.front() != '/')
    return Status::Invalid(std::string(1, letter) + "=" + mount + ": mount point must be absolute");
  drives_[UpperAscii(letter)] = TidyPosix(mount);
  return Status::Ok();
}

std::optional<std::string> PathMap::DriveRoot(char letter) const {
  auto it = drives_.find(UpperAscii(letter));
  if (it == drives_.end()) return std::nullopt;
  return it->second;
}

void PathMap::set_current_drive(char letter) { current_drive_ = UpperAscii(letter); }

Result<PathMap> PathMap::Parse(std::string_view spec) {
  PathMap map;
  size_t i = 0;
  while (i <= spec.size()) {
    size_t end = spec.find(';', i);
    if (end == std::string_view::npos) end = spec.size();
    std::string_view entry = spec.substr(i, end - i);
    while (!entry.empty() && std::isspace(static_cast<unsigned char>(entry.front())))
      entry.remove_prefix(1);
    while (!entry.empty() && std::isspace(static_cast<unsigned char>(entry.back())))
      entry.remove_suffix(1);
    if (!entry.empty()) {
      if (entry.size() < 3 || entry[1] != '=' || !IsAsciiLetter(entry[0]))
        return Status::Invalid(std::string(kDrivesVariable) + ": bad entry \"" +
                               std::string(entry) + "\" (expected L=/folder)");
      DODU_RETURN_IF_ERROR(map.SetDrive(entry[0], std::string(entry.substr(2))));
    }
    i = end + 1;
  }
  return map;
}

Result<PathMap> PathMap::FromEnv(Env& env) {
  auto spec = env.GetEnv(kDrivesVariable);
  if (!spec) return PathMap();
  return Parse(*spec);
}

Result<std::string> PathMap::ToNative(std::string_view path) const {
  if (path.empty()) return Status::Invalid("empty folder name");
  if (path.front() == '/') {
    std::string posix(path);
    std::replace(posix.begin(), posix.end(), '\\', '/');
    return TidyPosix(posix);
  }

  char letter = 0;
  std::string_view tail;
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
    letter = UpperAscii(path[0]);
    tail = path.substr(2);
  } else if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    return Status::Invalid(std::string(path) +
                           ": network share names are not supported; map the share to a drive");
  } else if (path.front() == '\\') {
    letter = current_drive_;
    tail = path;
  }

  if (letter == 0) {
    std::vector<std::string> parts = SplitComponents(path, /*clamp=*/false);
    if (parts.empty()) return std::string(".");
    std::string out;
    for (const auto& part : parts) out = JoinPath(out, part);
    return out;
  }

  auto root = DriveRoot(letter);
  if (!root)
    return Status::NotFound(std::string(path) + ": drive " + letter + ": is not mapped (" +
                            kDrivesVariable + ")");
  std::string out = *root;
  for (const auto& part : SplitComponents(tail, /*clamp=*/true)) out = JoinPath(out, part);
  return out;
}

std::string PathMap::ToSystem(std::string_view native) const {
  if (native.empty() || native.front() != '/') return std::string(native);
  std::string p = TidyPosix(native);
  char best = 0;
  size_t best_len = 0;
  for (const auto& [letter, mount] : drives_) {
    bool under = mount == "/" || p == mount ||
                 (p.size() > mount.size() && p.compare(0, mount.size(), mount) == 0 &&
                  p[mount.size()] == '/');
    if (under && (best == 0 || mount.size() > best_len)) {
      best = letter;
      best_len = mount.size();
    }
  }
  if (best == 0) return p;
  std::string rest = p.substr(std::min(best_len, p.size()));
  while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
  std::replace(rest.begin(), rest.end(), '/', '\\');
  return std::string(1, best) + ":\\" + rest;
}

bool PathMap::SameFolder(std::string_view a, std::string_view b) const {
  auto na = ToNative(a);
  auto nb = ToNative(b);
  if (na.ok() && nb.ok()) return FoldCase(*na) == FoldCase(*nb);
  return platform::SameFolder(a, b);
}

Result<std::string> ResolveExisting(Env& env, std::string_view native) {
  if (native.empty()) return Status::NotFound("empty file name");
  std::string path = TidyPosix(native);
  if (env.Exists(path)) return path;

  std::string cur = path.front() == '/' ? "/" : "";
  size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && path[i] == '/') ++i;
    size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    if (j == i) break;
    std::string_view part(path.data() + i, j - i);
    bool last = j >= path.size();
    if (!cur.empty() && !env.IsDirectory(cur))
      return Status::NotFound(path + ": " + cur + " is not a folder");
    std::string exact = JoinPath(cur, part);
    if (part == "." || part == ".." || env.Exists(exact)) {
      cur = exact;
    } else {
      auto found = FindVariant(env, cur, part);
      if (!found.ok()) {
        if (found.status().IsNotFound()) return Status::NotFound(path + ": not found");
        return found.status();
      }
      if (!found->has_value()) return Status::NotFound(path + ": not found");
      cur = JoinPath(cur, **found);
    }
    if (!last && !env.IsDirectory(cur))
      return Status::NotFound(path + ": " + cur + " is not a folder");
    i = j;
  }
  return cur;
}

Result<std::string> ResolveForCreate(Env& env, std::string_view native) {
  std::string name = BaseName(native);
  if (name.empty() || name == "." || name == "..")
    return Status::Invalid(std::string(native) + ": not a file name");
  std::string parent = ParentPath(native);
  if (!parent.empty()) {
    DODU_ASSIGN_OR_RETURN(parent, ResolveExisting(env, parent));
    if (!env.IsDirectory(parent)) return Status::NotFound(parent + ": not a folder");
  }
  std::string exact = JoinPath(parent, name);
  if (env.Exists(exact)) return exact;
  DODU_ASSIGN_OR_RETURN(auto variant, FindVariant(env, parent, name));
  return JoinPath(parent, variant ? *variant : name);
}

Result<std::unique_ptr<File>> OpenResolved(Env& env, std::string_view native, OpenMode mode) {
  std::string path;
  if (mode == OpenMode::kRead || mode == OpenMode::kReadWrite) {
    DODU_ASSIGN_OR_RETURN(path, ResolveExisting(env, native));
  } else {
    DODU_ASSIGN_OR_RETURN(path, ResolveForCreate(env, native));
  }
  return env.Open(path, mode);
}

Result<std::vector<DirEntry>> Glob(Env& env, std::string_view folder, std::string_view pattern) {
  std::string dir = folder.empty() ? "." : std::string(folder);
  DODU_ASSIGN_OR_RETURN(dir, ResolveExisting(env, dir));
  DODU_ASSIGN_OR_RETURN(auto entries, env.ListDir(dir));
  std::vector<std::pair<std::string, DirEntry>> keyed;
  for (auto& e : entries) {
    if (GlobMatch(pattern, e.name)) keyed.emplace_back(FoldCase(e.name), std::move(e));
  }
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    return a.second.name < b.second.name;
  });
  std::vector<DirEntry> out;
  out.reserve(keyed.size());
  for (auto& k : keyed) out.push_back(std::move(k.second));
  return out;
}

}  // namespace dodu::platform
