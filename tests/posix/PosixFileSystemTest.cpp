#include <gtest/gtest.h>

#include "platform/posix/MountTable.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"

namespace tarnwk::posix {
namespace {

TEST(MountTable, KeepsLocalFileSystemsOnceEachInPathOrder) {
    const char* mountInfo =
        "22 1 0:21 / /proc rw,nosuid - proc proc rw\n"
        "23 1 0:22 / /sys rw - sysfs sysfs rw\n"
        "25 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
        "26 25 0:5 / /dev rw - devtmpfs udev rw\n"
        "27 25 8:3 / /home rw shared:2 - xfs /dev/sda3 rw\n"
        "28 25 8:2 /srv/data /mnt/bind rw - ext4 /dev/sda2 rw\n"
        "29 25 0:30 / /run rw - tmpfs tmpfs rw\n"
        "30 25 0:40 / /net/share rw - nfs4 server:/share rw\n"
        "31 25 0:41 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
        "32 25 8:17 / /media/usb\\040stick rw - vfat /dev/sdb1 rw\n"
        "33 25 0:50 / /mnt/windows rw - fuseblk /dev/sdc1 rw\n"
        "garbage line\n";
    EXPECT_EQ(scanRootsFromMountInfo(mountInfo),
              (std::vector<std::string>{"/", "/home", "/media/usb stick", "/mnt/windows"}));
}

TEST(MountTable, BindMountsOfAnOtherwiseHiddenDeviceAreWalkedOnceEach) {
    // In a container the host's disk shows only through a bind mount.
    const char* mountInfo =
        "1 0 0:30 / / rw - overlay overlay rw\n"
        "2 1 8:1 /volumes/work /work rw - ext4 /dev/sda1 rw\n"
        "3 1 8:1 /volumes/cache /cache rw - ext4 /dev/sda1 rw\n"
        "4 1 8:1 /volumes/work/sub /sub rw - ext4 /dev/sda1 rw\n"
        "5 1 8:1 /volumes/workshop /shop rw - ext4 /dev/sda1 rw\n";
    EXPECT_EQ(scanRootsFromMountInfo(mountInfo),
              (std::vector<std::string>{"/", "/cache", "/shop", "/work"}));
}

TEST(PosixFileSystem, FileLengthTellsMissingFromFailed) {
    test::TempFolder tmp;
    PosixFileSystem files;
    EXPECT_EQ(files.fileLength(tmp / "absent").status, platform::LengthStatus::NotFound);
    const auto length = files.fileLength(tmp.writeFile("ref.dat", "Ver1.001"));
    EXPECT_EQ(length.status, platform::LengthStatus::Ok);
    EXPECT_EQ(length.bytes, 8u);
    const auto notAFolder = files.fileLength(tmp.writeFile("file") + "/ref.dat");
    EXPECT_EQ(notAFolder.status, platform::LengthStatus::Failed);
    EXPECT_FALSE(notAFolder.errorDescription.empty());
}

TEST(PosixFileSystem, FolderPathsAreAbsoluteWithoutTrailingSeparators) {
    EXPECT_EQ(normalFolderPath("/"), "/");
    EXPECT_EQ(normalFolderPath("///"), "/");
    EXPECT_EQ(normalFolderPath("/home/user/"), "/home/user");
    EXPECT_EQ(normalFolderPath("/home/./user/../other"), "/home/other");
    EXPECT_EQ(normalFolderPath("relative").front(), '/');
}

TEST(PosixFileSystem, ApplicationFolderHoldsTheExecutable) {
    PosixFileSystem files;
    const std::string exe = files.executablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.substr(0, files.applicationFolder().size() + 1), files.applicationFolder() + "/");
}

}  // namespace
}  // namespace tarnwk::posix
