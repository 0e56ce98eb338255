// Reading the kernel's mount table (/proc/self/mountinfo), for telling a local
// FUSE filesystem (an NTFS USB disk, a container's root) from a network one
// (sshfs): statfs gives both the same magic number.
#ifndef DODU_PLATFORM_INTERNAL_MOUNT_TABLE_H_
#define DODU_PLATFORM_INTERNAL_MOUNT_TABLE_H_

#include <string>
#include <string_view>

namespace dodu::platform::internal {

// The filesystem type ("ext4", "fuse.sshfs", "fuseblk") of the mount that holds
// the absolute, symlink-free `path`, according to `mountinfo` (the text of
// /proc/self/mountinfo); "" when no line covers it. The last mount over a folder wins.
std::string MountTypeFor(std::string_view mountinfo, std::string_view path);

// For a FUSE mount: true unless its type is one known to serve local disks.
bool IsNetworkFuseType(std::string_view type);

}  // namespace dodu::platform::internal

#endif  // DODU_PLATFORM_INTERNAL_MOUNT_TABLE_H_
