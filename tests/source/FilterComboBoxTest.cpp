#include "source/FilterComboBox.h"
#include "source/TessaroFileList.h"

#include "SourceTestSupport.h"

#include <QTest>

namespace selvane {
namespace {

using enum TFileAttr;

constexpr const char* kMainFilter =
    "Show all supported pictures (jpeg, jpg, gif, png, bmp)|*.jp;*.jpeg;*.jpg;*.gif;*.bmp;*.png|JPEG|*.jpeg;*.jpg;*.jp|"
    "BITMAP|*.bmp|PNG|*.png|GIF|*.gif";

std::vector<std::string> Texts(const TFileListBox& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.ItemCount(); ++i) texts.push_back(list.ItemText(i));
    return texts;
}

class FilterComboBoxTest : public test::SourceTest {};

TEST_F(FilterComboBoxTest, StartsWithAllFiles)
{
    TFilterComboBox box;
    ASSERT_EQ(box.count(), 1);
    EXPECT_EQ(box.itemText(0), "All files (*.*)");
    EXPECT_EQ(box.CurrentMask(), "*.*");
}

TEST_F(FilterComboBoxTest, PickingEntriesWithTheKeyboardSwitchesTheListsMask)
{
    const std::string folder = Folder("kinds");
    Touch(folder, {"a.jp", "b.jpeg", "c.jpg", "d.gif", "e.bmp", "f.png", "g.txt"});
    platform::SetCurrentFolder(folder);
    TTessaroFileList list;
    list.SetFileType({ftHidden, ftNormal});
    TFilterComboBox box;
    int changes = 0;
    box.OnChange = [&](QObject*) { ++changes; };
    box.SetFileList(&list);
    box.SetFilter(kMainFilter);
    ASSERT_EQ(box.count(), 5);
    EXPECT_EQ(box.currentIndex(), 0);
    EXPECT_EQ(list.Mask(), "*.jp;*.jpeg;*.jpg;*.gif;*.bmp;*.png");
    const std::vector<std::string> allSix{"a.jp", "b.jpeg", "c.jpg", "d.gif", "e.bmp", "f.png"};
    EXPECT_EQ(Texts(list), allSix);

    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(box.currentText(), "JPEG");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a.jp", "b.jpeg", "c.jpg"}));
    QTest::keyClick(&box, Qt::Key_End);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"d.gif"}));
    QTest::keyClick(&box, Qt::Key_Home);
    EXPECT_EQ(Texts(list), allSix);
    EXPECT_EQ(changes, 4);
}

TEST_F(FilterComboBoxTest, TheSameFilterInOtherCaseChangesNothing)
{
    TFilterComboBox box;
    int changes = 0;
    box.OnChange = [&](QObject*) { ++changes; };
    box.SetFilter("ALL FILES (*.*)|*.*");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(box.Filter(), "All files (*.*)|*.*");
}

TEST_F(FilterComboBoxTest, CurrentMaskChoosesTheLastEntryWhenNoneIsChosen)
{
    TFilterComboBox box;
    box.SetFilter(kMainFilter);
    box.setCurrentIndex(-1);
    EXPECT_EQ(box.CurrentMask(), "*.gif");
    EXPECT_EQ(box.currentIndex(), 4);
    box.SetFilter("nothing");
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(box.CurrentMask(), "*.*");
    EXPECT_TRUE(box.MaskTexts().empty());
}

}  // namespace
}  // namespace selvane
