#include "platform/Drives.h"

#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <map>

namespace selvane::platform {
namespace {

using selvane::test::TestSandbox;

// A mount table as the kernel writes it, with devices that live in the sandbox so that the
// label links can point at them.
class DrivesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto dev = sandbox_.Root() / "dev";
        for (const char* device : {"sda1", "sdb1", "sdc1", "sr0", "nvme0n1p2"})
            TestSandbox::WriteFile(dev / device, "");
        labels_ = dev / "disk/by-label";
        std::filesystem::create_directories(labels_);
        std::filesystem::create_symlink("../../sdb1", labels_ / "HOLIDAY\\x20PICS");
        std::filesystem::create_symlink("../../sr0", labels_ / "CD_2009");
        std::filesystem::create_symlink(dev / "nvme0n1p2", labels_ / "data");

        const std::string d = dev.string();
        table_ = sandbox_.Root() / "mounts";
        TestSandbox::WriteFile(table_, "proc /proc proc rw,nosuid,nodev,noexec,relatime 0 0\n"
                                       "sysfs /sys sysfs rw,nosuid,nodev,noexec,relatime 0 0\n"
                                       "udev /dev devtmpfs rw,nosuid,relatime 0 0\n"
                                       "rootfs / rootfs rw 0 0\n" +
                                           d +
                                           "/sda1 / ext4 rw,relatime 0 0\n"
                                           "tmpfs /run tmpfs rw,nosuid,nodev 0 0\n"
                                           "tmpfs /tmp tmpfs rw,nosuid,nodev 0 0\n" +
                                           d + "/nvme0n1p2 /home/ann/My\\040Data btrfs rw 0 0\n" + d +
                                           "/sdb1 /media/ann/HOLIDAY\\040PICS vfat rw,nosuid 0 0\n" + d +
                                           "/sdc1 /run/media/bob/stick exfat rw 0 0\n" + d +
                                           "/sr0 /media/cdrom iso9660 ro 0 0\n"
                                           "server:/export/photos /mnt/photos nfs4 rw 0 0\n"
                                           "//nas/share /mnt/nas cifs rw 0 0\n"
                                           "bob@host:/srv /mnt/remote fuse.sshfs rw 0 0\n"
                                           "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n" +
                                           d + "/sda1 /boot/efi vfat rw 0 0\n" + d +
                                           "/sda1 /etc/hosts ext4 rw 0 0\n"
                                           "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                                           "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
                                           "broken-line-without-fields\n"
                                           "\n");
    }

    std::vector<Drive> Read() const
    {
        return ReadDrives({table_.string(), "/nonexistent", labels_.string()});
    }

    // The topmost mount at that point.
    static const Drive& At(const std::vector<Drive>& drives, const std::string& mountPoint)
    {
        for (auto drive = drives.rbegin(); drive != drives.rend(); ++drive)
            if (drive->mountPoint == mountPoint) return *drive;
        throw std::runtime_error("no drive at " + mountPoint);
    }

    TestSandbox sandbox_;
    std::filesystem::path labels_;
    std::filesystem::path table_;
};

TEST_F(DrivesTest, GivesEachMountItsKindAndLabel)
{
    const auto drives = Read();
    struct Expected {
        DriveKind kind;
        std::string label;
    };
    const std::map<std::string, Expected> table = {
        {"/proc", {DriveKind::Other, "proc"}},
        {"/", {DriveKind::Fixed, "/"}},
        {"/tmp", {DriveKind::Ram, "tmp"}},
        {"/home/ann/My Data", {DriveKind::Fixed, "data"}},
        {"/media/ann/HOLIDAY PICS", {DriveKind::Removable, "HOLIDAY PICS"}},
        {"/run/media/bob/stick", {DriveKind::Removable, "stick"}},
        {"/media/cdrom", {DriveKind::CdRom, "CD_2009"}},
        {"/mnt/photos", {DriveKind::Network, "photos"}},
        {"/mnt/nas", {DriveKind::Network, "nas"}},
        {"/mnt/remote", {DriveKind::Network, "remote"}},
    };
    for (const auto& [mountPoint, expected] : table) {
        const Drive& drive = At(drives, mountPoint);
        EXPECT_EQ(drive.kind, expected.kind) << mountPoint;
        EXPECT_EQ(drive.label, expected.label) << mountPoint;
    }
    EXPECT_EQ(At(drives, "/mnt/photos").device, "server:/export/photos");
    EXPECT_EQ(At(drives, "/tmp").fileSystem, "tmpfs");
}

TEST_F(DrivesTest, TheDriveOfAPathIsItsLongestMountPointPrefix)
{
    const auto drives = Read();
    const std::map<std::string, std::string> table = {
        {"/", "/"},
        {"/usr/share", "/"},
        {"/home/ann/My Data", "/home/ann/My Data"},
        {"/home/ann/My Data/2024/a.jpg", "/home/ann/My Data"},
        {"/home/ann/My Database", "/"},  // whole components only
        {"/media/cdrom/DCIM", "/media/cdrom"},
        {"/mnt/nas/x", "/mnt/nas"},
    };
    for (const auto& [path, mountPoint] : table) {
        const Drive* drive = DriveOfPath(drives, path);
        ASSERT_NE(drive, nullptr) << path;
        EXPECT_EQ(drive->mountPoint, mountPoint) << path;
    }
    // Of two mounts on one point the later one is on top.
    EXPECT_EQ(DriveOfPath(drives, "/etc")->fileSystem, "ext4");
    EXPECT_EQ(DriveOfPath(drives, "relative/path"), nullptr);
}

TEST_F(DrivesTest, PicksRootFirstThenThePlacesAPersonWouldChoose)
{
    std::vector<std::string> mountPoints;
    for (const Drive& drive : PickableDrives(Read())) mountPoints.push_back(drive.mountPoint);
    EXPECT_EQ(mountPoints, (std::vector<std::string>{"/", "/home/ann/My Data", "/media/ann/HOLIDAY PICS",
                                                     "/media/cdrom", "/mnt/nas", "/mnt/photos", "/mnt/remote",
                                                     "/run/media/bob/stick", "/tmp"}));
    // The root entry is the real file system, not the "rootfs" line before it.
    EXPECT_EQ(PickableDrives(Read()).front().fileSystem, "ext4");
}

TEST_F(DrivesTest, ReadsTheFallbackTableWhenTheFirstIsMissingAndNothingWithoutEither)
{
    const auto fallback = ReadDrives({"/nonexistent/mounts", table_.string(), labels_.string()});
    EXPECT_EQ(fallback.size(), Read().size());
    EXPECT_FALSE(fallback.empty());
    EXPECT_TRUE(ReadDrives({"/nonexistent/a", "/nonexistent/b", labels_.string()}).empty());
}

TEST_F(DrivesTest, WithoutLabelLinksEveryDriveIsNamedAfterItsMountPoint)
{
    const auto drives = ReadDrives({table_.string(), "/nonexistent", "/nonexistent/by-label"});
    EXPECT_EQ(At(drives, "/media/cdrom").label, "cdrom");
    EXPECT_EQ(At(drives, "/media/ann/HOLIDAY PICS").label, "HOLIDAY PICS");
}

TEST(RealDrivesTest, TheSystemsTableHoldsTheRoot)
{
    const auto drives = ReadDrives();
    const Drive* root = DriveOfPath(drives, "/");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->mountPoint, "/");
}

}  // namespace
}  // namespace selvane::platform
