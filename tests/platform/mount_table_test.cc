#include "platform/internal/mount_table.h"

#include <gtest/gtest.h>

namespace dodu::platform::internal {
namespace {

constexpr char kMountInfo[] =
    "21 27 0:20 / /proc rw,relatime - proc proc rw\n"
    "27 1 8:1 / / rw,relatime shared:1 - fuse.fuse-overlayfs fuse-overlayfs rw\n"
    "30 27 0:40 / /tmp rw - tmpfs tmpfs rw\n"
    "40 27 8:17 / /media/PEN\\040DRIVE rw,nosuid master:2 - fuseblk /dev/sdb1 rw\n"
    "41 27 0:50 / /mnt/escritorio rw - fuse.sshfs dodu@server:/dados rw\n"
    "42 41 0:51 / /mnt/escritorio/local rw - ext4 /dev/sdc1 rw\n"
    "43 27 0:52 / /mnt/smb rw - cifs //server/share rw\n"
    "garbage line\n";

TEST(MountTableTest, TypeOfTheMountHoldingAPath) {
  const std::pair<const char*, const char*> cases[] = {
      {"/", "fuse.fuse-overlayfs"},
      {"/home/dodu/KEVA2019", "fuse.fuse-overlayfs"},
      {"/tmp", "tmpfs"},
      {"/tmp/x", "tmpfs"},
      {"/tmpx", "fuse.fuse-overlayfs"},  // a mount point is matched whole
      {"/media/PEN DRIVE/BACKUP", "fuseblk"},
      {"/mnt/escritorio/DADOS", "fuse.sshfs"},
      {"/mnt/escritorio/local/a", "ext4"},
      {"/mnt/smb", "cifs"},
  };
  for (const auto& [path, type] : cases) EXPECT_EQ(MountTypeFor(kMountInfo, path), type) << path;
  EXPECT_EQ(MountTypeFor("", "/x"), "");
}

TEST(MountTableTest, OnlyRemoteFuseCountsAsNetwork) {
  EXPECT_TRUE(IsNetworkFuseType("fuse.sshfs"));
  EXPECT_TRUE(IsNetworkFuseType("fuse.rclone"));
  EXPECT_TRUE(IsNetworkFuseType("fuse"));
  EXPECT_FALSE(IsNetworkFuseType("fuseblk"));
  EXPECT_FALSE(IsNetworkFuseType("fuse.fuse-overlayfs"));
  EXPECT_FALSE(IsNetworkFuseType("fuse.ntfs-3g"));
}

}  // namespace
}  // namespace dodu::platform::internal
