#include "source/DriveComboBox.h"
#include "source/DirectoryListBox.h"

#include "SourceTestSupport.h"

#include <QTest>

namespace selvane {
namespace {

class DriveComboBoxTest : public test::SourceTest {
protected:
    void SetUp() override
    {
        usb_ = Folder("media/USB");
        disc_ = Folder("media/cd");
        const std::string tables = Folder("tables");
        test::TestSandbox::WriteFile(tables + "/mounts", "/dev/sda1 / ext4 rw 0 0\n"
                                                         "/dev/sdb1 " +
                                                             usb_ +
                                                             " vfat rw 0 0\n"
                                                             "/dev/sr0 " +
                                                             disc_ +
                                                             " iso9660 ro 0 0\n"
                                                             "proc /proc proc rw 0 0\n");
        Folder("tables/labels");
        sources_ = {tables + "/mounts", tables + "/none", tables + "/labels"};
    }

    std::string usb_, disc_;
    platform::MountSources sources_;
};

TEST_F(DriveComboBoxTest, ListsThePickableDrivesAndChoosesTheCurrentFoldersDrive)
{
    platform::SetCurrentFolder(usb_);
    TDriveComboBox box(nullptr, sources_);
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(0), "/ [/]");
    EXPECT_EQ(box.itemText(1).toStdString(), usb_ + " [usb]");  // not under /media: a fixed disk
    EXPECT_EQ(box.itemText(2).toStdString(), disc_ + " [cd]");
    EXPECT_EQ(box.iconSize(), QSize(16, 11));
    EXPECT_EQ(box.Drive(), usb_);
    EXPECT_EQ(box.currentIndex(), 1);
}

TEST_F(DriveComboBoxTest, ChoosingAnEntryWithTheKeyboardSetsDriveAndRaisesOnChange)
{
    platform::SetCurrentFolder(usb_);
    TDriveComboBox box(nullptr, sources_);
    std::vector<std::string> changes;
    box.OnChange = [&](QObject* sender) { changes.push_back(static_cast<TDriveComboBox*>(sender)->Drive()); };
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Down);
    box.SetDrive(disc_);
    QTest::keyClick(&box, Qt::Key_Home);
    EXPECT_EQ(changes, (std::vector<std::string>{disc_, "/"}));
}

TEST_F(DriveComboBoxTest, TheTreeGoesToTheMountPointOfAnotherDrive)
{
    platform::SetCurrentFolder(Folder("media"));
    TDirectoryListBox tree;
    tree.SetDrive(usb_);
    EXPECT_EQ(tree.Folder(), usb_);
}

}  // namespace
}  // namespace selvane
