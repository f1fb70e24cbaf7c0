#include "source/DriveItems.h"

#include "SourceTestSupport.h"

namespace selvane {
namespace {

using platform::Drive;
using platform::DriveKind;

struct DriveTextCase {
    Drive drive;
    std::string text;
    GlyphId glyph;
};

class DriveItemTextTest : public ::testing::TestWithParam<DriveTextCase> {};

TEST_P(DriveItemTextTest, TextAndGlyphFollowTheKind)
{
    EXPECT_EQ(DriveItemText(GetParam().drive), GetParam().text);
    EXPECT_EQ(DriveGlyph(GetParam().drive.kind), GetParam().glyph);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DriveItemTextTest,
    ::testing::Values(
        DriveTextCase{{"/media/ann/USB", "/dev/sdb1", "vfat", DriveKind::Removable, "USB"},
                      "/media/ann/USB",
                      GlyphId::Floppy},
        DriveTextCase{{"/", "/dev/sda1", "ext4", DriveKind::Fixed, "System"}, "/ [system]", GlyphId::Hard},
        DriveTextCase{{"/srv/Share", "//Server/Photos", "cifs", DriveKind::Network, "Share"},
                      "/srv/Share //server/photos",
                      GlyphId::Network},
        DriveTextCase{{"/mnt/net", "", "nfs", DriveKind::Network, "net"}, "/mnt/net [net]", GlyphId::Network},
        DriveTextCase{{"/media/cd", "/dev/sr0", "iso9660", DriveKind::CdRom, "DISC 1"},
                      "/media/cd [disc 1]",
                      GlyphId::CdRom},
        DriveTextCase{{"/tmp", "tmpfs", "tmpfs", DriveKind::Ram, "tmp"}, "/tmp [tmp]", GlyphId::Ram}));

class ListedDrivesTest : public test::SourceTest {};

TEST_F(ListedDrivesTest, RootFirstSystemMountsLeftOut)
{
    const std::string folder = Folder("mounts");
    test::TestSandbox::WriteFile(folder + "/table", "/dev/sda1 / ext4 rw 0 0\n"
                                                    "proc /proc proc rw 0 0\n"
                                                    "/dev/sdb1 /media/ann/USB vfat rw 0 0\n"
                                                    "tmpfs /run tmpfs rw 0 0\n"
                                                    "/dev/sr0 /media/cd iso9660 ro 0 0\n");
    Folder("mounts/labels");
    platform::MountSources sources{folder + "/table", folder + "/none", folder + "/labels"};
    const auto drives = ListedDrives(sources);
    std::vector<std::string> points;
    for (const Drive& drive : drives) points.push_back(drive.mountPoint);
    EXPECT_EQ(points, (std::vector<std::string>{"/", "/media/ann/USB", "/media/cd"}));
    EXPECT_EQ(DriveOfFolder(drives, "/media/ann/USB/DCIM"), "/media/ann/USB");
    EXPECT_EQ(DriveOfFolder(drives, "/home/ann"), "/");
    EXPECT_EQ(DriveOfFolder({}, "/home/ann"), "/");
}

}  // namespace
}  // namespace selvane
