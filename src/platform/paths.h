// Folder and file names between the system's own Windows-style form and the
// native (POSIX) form, and case-insensitive lookup of existing names.
//
// The tables and settings hold folder names as the office typed them:
// "C:\KEVA2019\", drive letters, backslashes, upper case. On Linux every drive
// letter is a folder of the machine (a mount point), chosen by the installation:
//
//   DODU_DRIVES="C=/srv/c;D=/mnt/d"
//
// maps C: to /srv/c and D: to /mnt/d (letters in either case, ';' between the
// entries, each mount point an absolute path). C: is "/" unless DODU_DRIVES names
// it; any other letter is unmapped until named. Plain POSIX paths ("/srv/c/x")
// are accepted everywhere a folder name is, and are only tidied.
//
// A backslash always separates, in POSIX paths too: the system joins folder and
// file names with one, and never writes a name that contains one.
//
// PathMap works on the bytes it is given: a name read from a table is converted
// from code page 850 to UTF-8 by the caller before it becomes a native path (case
// folding knows UTF-8 only; on cp850 text just the ASCII letters fold).
//
// Names are never upper-cased on the way to the disk. Where the system compares
// folder names in upper case, SameFolder() compares case-insensitively; where it
// opens "IMP0920.DBF", ResolveExisting() finds "imp0920.dbf" or "Imp0920.Dbf".
// Case folding covers ASCII and the Latin-1 letters of UTF-8 ("Ç" and "ç").
#ifndef DODU_PLATFORM_PATHS_H_
#define DODU_PLATFORM_PATHS_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"

namespace dodu::platform {

// The environment variable that holds the drive map.
inline constexpr char kDrivesVariable[] = "DODU_DRIVES";

class PathMap {
 public:
  // C: is "/", the current drive is C:.
  PathMap();

  // Parses "C=/srv/c;D=/mnt/d". kInvalid names the bad entry (no '=', not a
  // letter, a mount point that is not absolute). An empty text gives the default map.
  static Result<PathMap> Parse(std::string_view spec);
  // The map from DODU_DRIVES of `env` (the default map when it is not set).
  static Result<PathMap> FromEnv(Env& env);

  // Maps `letter` (either case) to the absolute native folder `mount`
  // (a trailing '/' is dropped). kInvalid for a non-letter or a relative mount.
  Status SetDrive(char letter, std::string mount);
  // The mount point of a letter, or nothing when unmapped.
  std::optional<std::string> DriveRoot(char letter) const;
  // The drive used for names that start with a backslash but no letter ("\KEVA2019").
  void set_current_drive(char letter);
  char current_drive() const { return current_drive_; }

  // The native path of a system or POSIX path, built lexically (the disk is not
  // consulted; see ResolveExisting for the case of the names):
  //   "C:\KEVA2019\"            -> "<C>/KEVA2019"   (trailing separator dropped)
  //   "c:\keva2019\imp0920.dbf" -> "<C>/keva2019/imp0920.dbf" (case kept)
  //   "C:" / "C:\"              -> "<C>"
  //   "C:KEVA"                  -> "<C>/KEVA"        (taken from the drive's root)
  //   "\KEVA2019"               -> "<current drive>/KEVA2019"
  //   "KEVA\IMP0920.DBF"        -> "KEVA/IMP0920.DBF" (relative stays relative)
  //   "/srv/c//x/"              -> "/srv/c/x"         (POSIX: '//' and the
  //                                                     trailing '/' are tidied)
  //   "/srv/c/KEVA\IMP.DBF"     -> "/srv/c/KEVA/IMP.DBF" (the backslash that the
  //                                                     folder routines append)
  // In the Windows forms '/' and '\' both separate, "." is dropped and ".." goes
  // up but never above the drive's root. Errors: kNotFound for an unmapped drive
  // letter, kInvalid for a network share name ("\\server\share") or an empty path.
  Result<std::string> ToNative(std::string_view path) const;

  // The system form of a native path, for display and for the tables: a path under
  // a mapped drive becomes "L:\..." (the longest mount point wins; the mount point
  // itself is "L:\"); any other path comes back unchanged.
  std::string ToSystem(std::string_view native) const;

  // True when two folder names denote the same folder: both are converted to native
  // paths (either may be a system or a POSIX path) and compared case-insensitively,
  // trailing separators ignored. A name that cannot be converted is compared as text.
  bool SameFolder(std::string_view a, std::string_view b) const;

 private:
  std::map<char, std::string> drives_;  // upper-case letter -> mount point
  char current_drive_ = 'C';
};

// Lexical, case-insensitive comparison of two folder names: '\' and '/' are the
// same, repeated and trailing separators are ignored, drive letters and names
// are compared without case. "C:\KEVA2019\" equals "c:/keva2019".
bool SameFolder(std::string_view a, std::string_view b);

// Case folding used by every comparison here (ASCII and UTF-8 Latin-1 letters to
// upper case); other bytes are kept.
std::string FoldCase(std::string_view name);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// "a" + "/" + "b", without doubling a separator. An empty folder gives `name`.
std::string JoinPath(std::string_view folder, std::string_view name);
// The folder part of a native path ("" when there is none; "/" for "/x") and the last part.
std::string ParentPath(std::string_view native);
std::string BaseName(std::string_view native);

// True when `name` matches the DOS-style pattern, case-insensitively: '*' is any
// run of characters (also none), '?' exactly one character; "*.*" matches every name.
bool GlobMatch(std::string_view pattern, std::string_view name);

// The native path of an existing file or folder whose every component matches
// `native` case-insensitively: "/srv/c/keva2019/Imp0920.dbf" finds
// "/srv/c/KEVA2019/IMP0920.DBF". A component spelled exactly as on disk wins;
// among several case-variants the first in byte order is taken. kNotFound when
// any component is missing, or when a folder component is a file.
Result<std::string> ResolveExisting(Env& env, std::string_view native);

// The native path to create a file at: the folder part must exist (resolved as by
// ResolveExisting; kNotFound otherwise); the last component becomes the name of
// an existing case-variant when there is one, else it is kept as given. So a file
// is never created beside another whose name differs only in case.
Result<std::string> ResolveForCreate(Env& env, std::string_view native);

// Opens through the two above: kRead and kReadWrite resolve an existing file;
// the creating modes resolve for creation. kCreateNew fails (kInvalid) when a
// case-variant exists. The returned File's path() is the name on disk.
Result<std::unique_ptr<File>> OpenResolved(Env& env, std::string_view native, OpenMode mode);

// The entries of `folder` (resolved case-insensitively) whose names match
// `pattern` (see GlobMatch), files and folders alike, ordered by folded name and
// then by bytes, so "a.dbf" comes before "B.DBF" on every machine.
// kNotFound when the folder does not exist.
Result<std::vector<DirEntry>> Glob(Env& env, std::string_view folder, std::string_view pattern);

}  // namespace dodu::platform

#endif  // DODU_PLATFORM_PATHS_H_
