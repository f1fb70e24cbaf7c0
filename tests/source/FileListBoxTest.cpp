#include "source/FileListBox.h"
#include "source/GlyphItemDelegate.h"
#include "source/SourceErrors.h"
#include "source/TessaroFileList.h"
#include "tests/support/DoubleClick.h"
#include "tests/support/RunUnprivileged.h"

#include "platform/OsError.h"
#include "SourceTestSupport.h"

#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <memory>

namespace selvane {
namespace {

using enum TFileAttr;
namespace fs = std::filesystem;

constexpr const char* kPictures = "*.jp;*.jpeg;*.jpg;*.gif;*.bmp;*.png";

std::vector<std::string> Texts(const TFileListBox& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.ItemCount(); ++i) texts.push_back(list.ItemText(i));
    return texts;
}

std::vector<int> Selected(const TFileListBox& list)
{
    std::vector<int> rows;
    for (int i = 0; i < list.ItemCount(); ++i)
        if (list.ItemSelected(i)) rows.push_back(i);
    return rows;
}

class FileListBoxTest : public test::SourceTest {
protected:
    // A list set up as the main window's, shown, on folder.
    std::unique_ptr<TTessaroFileList> MainList(const std::string& folder)
    {
        platform::SetCurrentFolder(folder);
        auto list = std::make_unique<TTessaroFileList>();
        list->SetFileType({ftHidden, ftNormal});
        list->SetMask(kPictures);
        list->SetMultiSelect(true);
        list->SetShowGlyphs(true);
        list->SetItemHeight(16);
        list->OnSelectChaged = [this](QObject*) { ++selectChaged_; };
        list->resize(300, 400);
        list->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(list.get()));
        return list;
    }

    static void Click(TFileListBox& list, int row, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(list.viewport(), button, modifiers, test::RowCentre(list, row));
    }

    std::string FourPictures()
    {
        const std::string folder = Folder("four");
        Touch(folder, {"a.jpg", "b.png", "c.gif", "d.bmp"});
        return folder;
    }

    int selectChaged_ = 0;
};

TEST_F(FileListBoxTest, HiddenPicturesAreListedButNotFoldersOrSpecialFiles)
{
    const std::string folder = Folder("mixed");
    Touch(folder, {"photo.JPG", ".hidden.png", "notes.txt", "old.jp"});
    fs::create_directory(folder + "/album.jpg");
    MakeFifo(folder + "/pipe.gif");
    const auto list = MainList(folder);
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{".hidden.png", "old.jp", "photo.JPG"}));
}

// A tree lists files by relative paths and no folder entries, even where the file type
// asks for folders, leaves out the skipped folder, and names the subfolders it cannot read.
TEST_F(FileListBoxTest, SubfoldersListTheTreeAndNameWhatCannotBeRead)
{
    const std::string folder = Folder("tree");
    Touch(folder, {"a.jpg"});
    Touch(Folder("tree/open"), {"b.png"});
    Touch(Folder("tree/locked"), {"c.jpg"});
    Touch(Folder("tree/out"), {"a.jpg"});
    fs::permissions(folder + "/locked", fs::perms::none);
    const std::string result = test::RunUnprivileged([&] {
        platform::SetCurrentFolder(folder);
        TFileListBox list;
        list.SetFileType({ftDirectory, ftNormal});
        list.SetMask(kPictures);
        list.SkippedFolder = [](const std::string& listed) { return listed + "/out/"; };
        std::string text;
        list.OnUnreadableFolders = [&](const std::vector<std::string>& unreadable) {
            for (const std::string& reason : unreadable) text.append("! ").append(reason).append("\n");
        };
        list.SetSubfolders(true);
        for (const std::string& item : Texts(list)) text.append(item).append("\n");
        return text;
    });
    fs::permissions(folder + "/locked", fs::perms::owner_all);
    EXPECT_EQ(result, "! " + folder + "/locked: Permission denied\na.jpg\nopen/b.png\n");
}

TEST_F(FileListBoxTest, ReloadClearsTheSelection)
{
    const auto list = MainList(FourPictures());
    list->SelectAllItems();
    ASSERT_EQ(list->SelectedCount(), 4);
    list->Reload();
    EXPECT_EQ(list->SelectedCount(), 0);
    EXPECT_EQ(list->ItemCount(), 4);
}

TEST_F(FileListBoxTest, SelectAllOnlyInAMultiSelectList)
{
    const auto list = MainList(FourPictures());
    list->SetMultiSelect(false);
    list->SelectAllItems();
    EXPECT_EQ(list->SelectedCount(), 0);
}

TEST_F(FileListBoxTest, InvertSelectionFlipsEveryItem)
{
    const auto list = MainList(FourPictures());
    Click(*list, 0);
    Click(*list, 2, Qt::LeftButton, Qt::ControlModifier);
    ASSERT_EQ(Selected(*list), (std::vector<int>{0, 2}));
    list->InvertSelection();
    EXPECT_EQ(Selected(*list), (std::vector<int>{1, 3}));
}

TEST_F(FileListBoxTest, CtrlClickDeselectingTheFocusedItemLeavesNoCurrentFile)
{
    const std::string folder = FourPictures();
    const auto list = MainList(folder);
    Click(*list, 1);
    ASSERT_EQ(list->CurrentFilePath(), folder + "/b.png");
    Click(*list, 1, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(list->FocusedIndex(), 1);
    EXPECT_EQ(list->CurrentFileName(), "");
    EXPECT_EQ(list->CurrentFilePath(), "");
}

class MouseButtonTest : public FileListBoxTest, public ::testing::WithParamInterface<Qt::MouseButton> {};

TEST_P(MouseButtonTest, EveryButtonReleaseOverAnItemRaisesOnSelectChaged)
{
    const std::string folder = FourPictures();
    const auto list = MainList(folder);
    Click(*list, 0);
    selectChaged_ = 0;
    Click(*list, 2, GetParam());
    EXPECT_EQ(selectChaged_, 1);
    EXPECT_EQ(list->PreviewFilePath(), folder + "/c.gif");
    // Only the left button selects; the others keep the selection, as the desktop's lists do.
    EXPECT_EQ(Selected(*list), (std::vector<int>{GetParam() == Qt::LeftButton ? 2 : 0}));
}

TEST_F(FileListBoxTest, AClickBelowTheLastItemChangesNothing)
{
    const auto list = MainList(FourPictures());
    Click(*list, 1);
    selectChaged_ = 0;
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton})
        QTest::mouseClick(list->viewport(), button, {}, QPoint(20, list->viewport()->height() - 4));
    EXPECT_EQ(selectChaged_, 0);
    EXPECT_EQ(Selected(*list), std::vector<int>{1});
}

TEST_F(FileListBoxTest, TheReleaseEndingADoubleClickRaisesNothing)
{
    const auto list = MainList(FourPictures());
    test::DoubleClick(list->viewport(), test::RowCentre(*list, 1));
    // The first click of the pair raised it; the release of the second does not.
    EXPECT_EQ(selectChaged_, 1);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MouseButtonTest,
                         ::testing::Values(Qt::LeftButton, Qt::RightButton, Qt::MiddleButton));

TEST_F(FileListBoxTest, ClicksOnAnEmptyListRaiseNothing)
{
    const auto list = MainList(Folder("empty"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(selectChaged_, 0);
}

TEST_F(FileListBoxTest, KeysAndCodeRaiseNoOnSelectChaged)
{
    const auto list = MainList(FourPictures());
    Click(*list, 0);
    selectChaged_ = 0;
    QTest::keyClick(list.get(), Qt::Key_Down);
    QTest::keyClick(list.get(), Qt::Key_End, Qt::ShiftModifier);
    list->SelectAllItems();
    list->InvertSelection();
    list->SetItemSelected(1, true);
    list->SetCurrentFileName("d.bmp");
    EXPECT_EQ(selectChaged_, 0);
}

TEST_F(FileListBoxTest, DeleteKeyRemovesNeitherItemNorFile)
{
    const std::string folder = FourPictures();
    const auto list = MainList(folder);
    Click(*list, 0);
    QTest::keyClick(list.get(), Qt::Key_Delete);
    EXPECT_EQ(list->ItemCount(), 4);
    EXPECT_TRUE(fs::exists(folder + "/a.jpg"));
}

TEST_F(FileListBoxTest, DoubleClickRaisesOnDblClick)
{
    const auto list = MainList(FourPictures());
    int doubleClicks = 0;
    list->OnDblClick = [&](QObject* sender) {
        EXPECT_EQ(sender, list.get());
        ++doubleClicks;
    };
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, test::RowCentre(*list, 1));
    EXPECT_EQ(doubleClicks, 1);
}

bool CaseInsensitive(const std::string& folder)
{
    std::string upper = folder;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return fs::exists(upper);
}

TEST_F(FileListBoxTest, SameFolderInOtherCaseDoesNotReload)
{
    const std::string folder = FourPictures();
    std::string other = folder;
    other.back() = static_cast<char>(std::toupper(static_cast<unsigned char>(other.back())));
    // On a case-sensitive volume a link is what lets the other spelling name the folder.
    if (!CaseInsensitive(folder)) fs::create_directory_symlink(folder, other);
    const auto list = MainList(folder);
    Click(*list, 1);
    list->SetFolder(other);
    EXPECT_EQ(list->Folder(), folder);
    EXPECT_EQ(Selected(*list), (std::vector<int>{1}));
}

TEST_F(FileListBoxTest, OtherCaseOnACaseSensitiveVolumeIsAnotherFolder)
{
    const std::string lower = Folder("photos");
    if (CaseInsensitive(lower)) GTEST_SKIP() << "the temporary folder's file system ignores case";
    const std::string upper = Folder("Photos");
    Touch(upper, {"x.jpg"});
    const auto list = MainList(lower);
    list->SetFolder(upper);
    EXPECT_EQ(list->Folder(), upper);
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"x.jpg"}));
}

TEST_F(FileListBoxTest, ItemIndexOutOfBounds)
{
    const auto list = MainList(FourPictures());
    try {
        list->SetItemSelected(4, true);
        FAIL() << "no error";
    } catch (const EListError& error) {
        EXPECT_STREQ(error.what(), "List index out of bounds (4)");
    }
    EXPECT_THROW(list->ItemText(-1), EListError);
    EXPECT_THROW((void)list->ItemSelected(99), EListError);
}

TEST_F(FileListBoxTest, AFolderThatCannotBeEnteredRaisesAndKeepsTheList)
{
    const std::string folder = FourPictures();
    const auto list = MainList(folder);
    Click(*list, 0);
    EXPECT_THROW(list->SetFolder(folder + "/missing"), platform::OsError);
    EXPECT_THROW(list->ApplyPath(Folder() + "/gone/"), platform::OsError);
    EXPECT_EQ(list->Folder(), folder);
    EXPECT_EQ(list->ItemCount(), 4);
    EXPECT_EQ(Selected(*list), (std::vector<int>{0}));

    fs::remove_all(folder);
    EXPECT_THROW(list->Reload(), platform::OsError);
    EXPECT_EQ(list->ItemCount(), 4);
}

TEST_F(FileListBoxTest, AFileThatVanishesWhileApplyingIsAnInvalidFileName)
{
    const std::string folder = FourPictures();
    const auto list = MainList(folder);
    list->OnChange = [&](QObject*) { fs::remove(folder + "/c.gif"); };
    try {
        list->ApplyPath("c.gif");
        FAIL() << "no error";
    } catch (const EInvalidFileName& error) {
        EXPECT_STREQ(error.what(), "Invalid file name - c.gif");
    }
}

TEST_F(FileListBoxTest, ApplyPathWithAFolderMakesItTheFolderAndTheCurrentFolder)
{
    const std::string first = FourPictures();
    const std::string second = Folder("second");
    Touch(second, {"z.png"});
    const auto list = MainList(first);
    list->ApplyPath(second + "/");
    EXPECT_EQ(list->Folder(), second);
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"z.png"}));
    EXPECT_EQ(platform::GetCurrentFolder(), second);

    list->ApplyPath("/");
    EXPECT_EQ(list->Folder(), "/");
}

TEST_F(FileListBoxTest, ApplyPathWithAListedSelectedNameOnlyMovesTheFocus)
{
    const auto list = MainList(FourPictures());
    list->SelectAllItems();
    list->ApplyPath("c.gif");
    EXPECT_EQ(list->FocusedIndex(), 2);
    EXPECT_EQ(list->CurrentFileName(), "c.gif");
    EXPECT_EQ(list->SelectedCount(), 4);
}

TEST_F(FileListBoxTest, ApplyPathWithAPatternSetsTheMask)
{
    const auto list = MainList(FourPictures());
    list->ApplyPath("*.PNG");
    EXPECT_EQ(list->Mask(), "*.PNG");
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"b.png"}));
}

TEST_F(FileListBoxTest, ApplyPathWithAnUnlistedFileMakesItTheMask)
{
    const std::string folder = FourPictures();
    Touch(folder, {"notes.txt"});
    platform::SetCurrentFolder(folder);
    TFileListBox list;
    list.SetMask("*.jpg");
    list.ApplyPath(folder + "/notes.txt");
    EXPECT_EQ(list.Mask(), "notes.txt");
    EXPECT_EQ(list.CurrentFileName(), "notes.txt");
}

TEST_F(FileListBoxTest, ApplyPathWithABracketedFolderEntersIt)
{
    const std::string folder = Folder("parent");
    Folder("parent/child");
    platform::SetCurrentFolder(folder);
    TFileListBox list;
    list.SetFileType({ftDirectory});
    list.ApplyPath("[child]");
    EXPECT_EQ(list.Folder(), folder + "/child");
    list.ApplyPath("[..]");
    EXPECT_EQ(list.Folder(), folder);
}

TEST_F(FileListBoxTest, TheCurrentFolderFollowsTheListAfterAReload)
{
    const std::string folder = FourPictures();
    const auto list = MainList(folder);
    platform::SetCurrentFolder(Folder("elsewhere"));
    list->Reload();
    EXPECT_EQ(platform::GetCurrentFolder(), folder);
}

TEST_F(FileListBoxTest, ALongListingLeavesNoBusyCursorBehind)
{
    const std::string folder = Folder("long");
    for (int i = 0; i < 150; ++i) Touch(folder, {std::to_string(i) + ".jpg"});
    const auto list = MainList(folder);
    EXPECT_EQ(list->ItemCount(), 150);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FileListBoxTest, FileEditShowsTheCurrentNameOrTheMask)
{
    const auto list = MainList(FourPictures());
    QLineEdit edit;
    list->SetFileEdit(&edit);
    list->NotifyChange();
    EXPECT_EQ(edit.text().toStdString(), kPictures);
    Click(*list, 3);
    EXPECT_EQ(edit.text(), "d.bmp");
    EXPECT_EQ(edit.selectedText(), "d.bmp");
}

TEST_F(FileListBoxTest, RowHeightFollowsTheFontAndTheGlyphs)
{
    platform::SetCurrentFolder(FourPictures());
    TFileListBox list;
    QFont small = list.font();
    small.setPixelSize(8);
    list.setFont(small);
    EXPECT_EQ(list.ItemHeight(), QFontMetrics(small).height());
    list.SetShowGlyphs(true);
    EXPECT_EQ(list.ItemHeight(), 16);
    QFont large = small;
    large.setPixelSize(30);
    list.setFont(large);
    EXPECT_EQ(list.ItemHeight(), QFontMetrics(large).height());
}

TEST_F(FileListBoxTest, GlyphIsDrawnTwoPixelsInCentredInTheRow)
{
    const auto list = MainList(FourPictures());
    const QImage shown = list->viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRect row = list->visualItemRect(list->item(1));
    ASSERT_EQ(row.height(), 16);
    const QImage& glyph = Glyph(GlyphId::UnknownFile);
    const int top = GlyphTop(row, glyph.height());
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if (qAlpha(glyph.pixel(x, y)) == 255) {
                ASSERT_EQ(shown.pixel(row.left() + 2 + x, top + y), glyph.pixel(x, y)) << x << "," << y;
            }
}

}  // namespace
}  // namespace selvane
