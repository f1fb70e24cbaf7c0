#include "source/SelectDirDlg.h"
#include "source/DirectoryListBox.h"
#include "source/DriveComboBox.h"
#include "source/FileListBox.h"
#include "source/SelectFolder.h"

#include "SourceTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTest>

#include <filesystem>

namespace selvane {
namespace {

namespace fs = std::filesystem;
using enum SelectFolderOption;

template <typename Widget>
Widget* Child(QWidget* dialog, const char* name)
{
    auto* widget = dialog->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

class SelectDirDlgTest : public test::SourceTest {
protected:
    void SetUp() override
    {
        start_ = Folder("start");
        Folder("start/one");
        Folder("start/two");
        Touch(start_, {"picture.jpg"});
    }

    // Runs SelectFolder on folder_ and, inside the shown dialog, action; answers whether
    // the dialog was confirmed.
    bool Select(SelectFolderOptions options, const std::function<void(TSelectDirDlg*)>& action)
    {
        bool acted = false;
        test::WhenModal<TSelectDirDlg>([&](TSelectDirDlg* dialog) {
            acted = true;
            action(dialog);
        });
        const bool confirmed = SelectFolder("Browse for images", folder_, options);
        EXPECT_TRUE(acted);
        return confirmed;
    }

    static void ClickButton(TSelectDirDlg* dialog, const char* name)
    {
        QTest::mouseClick(Child<QPushButton>(dialog, name), Qt::LeftButton);
    }

    // Puts the caret after the field's text, as a person clicking at its end would.
    static QLineEdit* PathField(TSelectDirDlg* dialog)
    {
        auto* field = Child<QLineEdit>(dialog, "edtDirectory");
        field->deselect();
        field->end(false);
        return field;
    }

    std::string start_;
    std::string folder_;
};

TEST_F(SelectDirDlgTest, OkReturnsTheTreesFolderWithATrailingSeparatorNotTheHighlightedRow)
{
    folder_ = start_;
    const bool confirmed = Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Browse for images");
        auto* tree = Child<TDirectoryListBox>(dialog, "DirList");
        EXPECT_EQ(tree->Folder(), start_);
        const int two = tree->count() - 1;
        ASSERT_EQ(tree->item(two)->text(), "two");
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, test::RowCentre(*tree, two));
        ClickButton(dialog, "OKButton");
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(folder_, start_ + "/");
}

TEST_F(SelectDirDlgTest, CancelReturnsFalseAndLeavesTheFolderText)
{
    folder_ = start_;
    const bool confirmed = Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        auto* tree = Child<TDirectoryListBox>(dialog, "DirList");
        tree->SetFolder(start_ + "/one");
        ClickButton(dialog, "CancelButton");
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(folder_, start_);
}

TEST_F(SelectDirDlgTest, AMissingFolderOpensTheProcesssCurrentFolder)
{
    platform::SetCurrentFolder(start_ + "/two");
    folder_ = start_ + "/missing";
    Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        EXPECT_EQ(dialog->Directory(), start_ + "/two/");
        dialog->reject();
    });
}

TEST_F(SelectDirDlgTest, TheCallersCurrentFolderIsKept)
{
    const std::string callers = Folder("caller");
    platform::SetCurrentFolder(callers);
    folder_ = start_;
    Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        Child<TDirectoryListBox>(dialog, "DirList")->SetFolder(start_ + "/one");
        ClickButton(dialog, "OKButton");
    });
    EXPECT_EQ(folder_, start_ + "/one/");
    EXPECT_EQ(platform::GetCurrentFolder(), callers);
}

TEST_F(SelectDirDlgTest, DoubleClickOpensAFolderAndTheFileListFollows)
{
    Touch(start_ + "/two", {"inside.png", ".hidden.png"});
    folder_ = start_;
    Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        auto* tree = Child<TDirectoryListBox>(dialog, "DirList");
        auto* files = Child<TFileListBox>(dialog, "FileList");
        ASSERT_EQ(files->ItemCount(), 1);
        EXPECT_EQ(files->ItemText(0), "picture.jpg");
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, test::RowCentre(*tree, tree->count() - 1));
        EXPECT_EQ(tree->Folder(), start_ + "/two");
        EXPECT_EQ(files->Folder(), start_ + "/two");
        ASSERT_EQ(files->ItemCount(), 1);
        EXPECT_EQ(files->ItemText(0), "inside.png");
        EXPECT_EQ(Child<QLineEdit>(dialog, "edtDirectory")->text().toStdString(), start_ + "/two/");
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, test::RowCentre(*tree, 0));
        EXPECT_EQ(tree->Folder(), "/");
        dialog->reject();
    });
}

TEST_F(SelectDirDlgTest, CreateButtonOnAnExistingNameMovesIntoItWithoutABox)
{
    folder_ = start_;
    Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        auto* name = Child<QLineEdit>(dialog, "edtNewFolder");
        EXPECT_EQ(name->text(), "New folder");
        name->setText("one");
        ClickButton(dialog, "btnCreate");
        EXPECT_EQ(dialog->Directory(), start_ + "/one/");
        dialog->reject();
    });
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(SelectDirDlgTest, CreateButtonMakesTheNewFolderAndMovesIntoIt)
{
    folder_ = start_;
    Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        ClickButton(dialog, "btnCreate");
        EXPECT_EQ(dialog->Directory(), start_ + "/New folder/");
        dialog->reject();
    });
    EXPECT_TRUE(fs::is_directory(start_ + "/New folder"));
}

TEST_F(SelectDirDlgTest, TypingAFullPathNavigatesButCreatesNothing)
{
    folder_ = start_;
    Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        auto* tree = Child<TDirectoryListBox>(dialog, "DirList");
        QLineEdit* field = PathField(dialog);
        QTest::keyClicks(field, "newdir");
        EXPECT_EQ(tree->Folder(), start_);
        field->setText(QString::fromStdString(start_ + "/"));
        field->end(false);
        QTest::keyClicks(field, "two");
        EXPECT_EQ(tree->Folder(), start_ + "/two");
        EXPECT_EQ(field->text().toStdString(), start_ + "/two") << "what the person types stays";
        field->setText("relative");
        field->clear();
        dialog->reject();
    });
    EXPECT_EQ(test::TestSandbox::Names(start_), (std::set<std::string>{"one", "picture.jpg", "two"}));
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(SelectDirDlgTest, EnterOnAMissingFolderCreatesItAndStaysOpen)
{
    folder_ = start_;
    Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        QLineEdit* field = PathField(dialog);
        QTest::keyClicks(field, "new/deep");
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->Directory(), start_ + "/new/deep/");
        EXPECT_EQ(field->text().toStdString(), start_ + "/new/deep/");
        dialog->reject();
    });
    EXPECT_TRUE(fs::is_directory(start_ + "/new/deep"));
}

TEST_F(SelectDirDlgTest, EnterOnAnExistingFolderConfirmsTheDialog)
{
    folder_ = start_;
    const bool confirmed = Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        QTest::keyClicks(PathField(dialog), "one");
        QTest::keyClick(Child<QLineEdit>(dialog, "edtDirectory"), Qt::Key_Return);
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(folder_, start_ + "/one/");
}

TEST_F(SelectDirDlgTest, OkOnAMissingFolderCreatesAndReturnsIt)
{
    folder_ = start_;
    const bool confirmed = Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        QTest::keyClicks(PathField(dialog), "made");
        ClickButton(dialog, "OKButton");
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(folder_, start_ + "/made/");
    EXPECT_TRUE(fs::is_directory(start_ + "/made"));
}

class PromptTest : public SelectDirDlgTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PromptTest, WithPromptTheQuestionComesFirst)
{
    const bool yes = GetParam();
    folder_ = start_;
    bool asked = false;
    const bool confirmed = Select({}, [&](TSelectDirDlg* dialog) {
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            asked = true;
            EXPECT_EQ(box->windowTitle(), "Confirm");
            EXPECT_EQ(box->text(), "The specified directory does not exist. Create it?");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->button(QMessageBox::Yes)->text(), "&Yes");
            EXPECT_EQ(box->button(QMessageBox::No)->text(), "&No");
            QTest::mouseClick(box->button(yes ? QMessageBox::Yes : QMessageBox::No), Qt::LeftButton);
        });
        QTest::keyClicks(PathField(dialog), "asked");
        ClickButton(dialog, "OKButton");
        if (!yes) {
            EXPECT_TRUE(dialog->isVisible());
            dialog->reject();
        }
    });
    EXPECT_TRUE(asked);
    EXPECT_EQ(confirmed, yes);
    EXPECT_EQ(fs::is_directory(start_ + "/asked"), yes);
    EXPECT_EQ(folder_, yes ? start_ + "/asked/" : start_);
}

INSTANTIATE_TEST_SUITE_P(Answers, PromptTest, ::testing::Bool());

TEST_F(SelectDirDlgTest, TextsThatCannotNameAFullPathCreateNothingAndRaiseNoError)
{
    for (const char* text : {"", "rel", "relative/path", "./rel", " "}) {
        folder_ = start_;
        platform::SetCurrentFolder(start_);
        const bool confirmed = Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
            auto* field = Child<QLineEdit>(dialog, "edtDirectory");
            field->clear();
            QTest::keyClicks(field, text);
            QTest::keyClick(field, Qt::Key_Return);
        });
        EXPECT_TRUE(confirmed) << text;
        EXPECT_EQ(folder_, start_ + "/") << text;
    }
    EXPECT_EQ(test::TestSandbox::Names(start_), (std::set<std::string>{"one", "picture.jpg", "two"}));
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(SelectDirDlgTest, WithoutAllowCreateThePathFieldAndCreateControlsAreHidden)
{
    folder_ = start_;
    Select({foPerformCreate}, [&](TSelectDirDlg* dialog) {
        EXPECT_FALSE(dialog->AllowCreate());
        EXPECT_FALSE(Child<QWidget>(dialog, "pnlTop")->isVisible());
        EXPECT_FALSE(Child<QWidget>(dialog, "btnCreate")->isVisible());
        EXPECT_FALSE(Child<QWidget>(dialog, "edtNewFolder")->isVisible());
        EXPECT_FALSE(Child<QWidget>(dialog, "btnNetwork")->isVisible());
        dialog->reject();
    });
}

TEST_F(SelectDirDlgTest, LayoutTextsAndSizes)
{
    folder_ = start_;
    Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        EXPECT_EQ(dialog->size(), QSize(659, 436));
        EXPECT_EQ(Child<QLabel>(dialog, "lblCurFolder")->text(), "Cu&rrent path:");
        EXPECT_EQ(Child<QLabel>(dialog, "lblCurFolder")->buddy(), Child<QWidget>(dialog, "edtDirectory"));
        EXPECT_EQ(Child<QLabel>(dialog, "lblDrives")->text(), "&Drives:");
        EXPECT_EQ(Child<QLabel>(dialog, "lblDrives")->buddy(), Child<QWidget>(dialog, "DriveList"));
        EXPECT_EQ(Child<QWidget>(dialog, "edtDirectory")->toolTip(),
                  "Enter a full path to navigate there. If the path does not exist, it will be created.");
        EXPECT_EQ(Child<QWidget>(dialog, "pnlTop")->height(), 37);
        EXPECT_EQ(Child<QWidget>(dialog, "pnlBottom")->height(), 36);
        EXPECT_EQ(Child<QWidget>(dialog, "DriveList")->width(), 125);
        auto* desktop = Child<QPushButton>(dialog, "BitBtn1");
        EXPECT_EQ(desktop->text(), "Desktop");
        EXPECT_EQ(desktop->toolTip(), "Navigate to 'DESKTOP' folder");
        EXPECT_EQ(desktop->size(), QSize(70, 21));
        auto* documents = Child<QPushButton>(dialog, "BitBtn2");
        EXPECT_EQ(documents->text(), "My Docs");
        EXPECT_EQ(documents->toolTip(), "Navigate to 'MY DOCUMENTS' folder");
        EXPECT_EQ(documents->size(), QSize(70, 21));
        EXPECT_EQ(Child<QSplitter>(dialog, "Splitter")->handleWidth(), 4);
        EXPECT_EQ(Child<QWidget>(dialog, "FileList")->width(), 260);
        EXPECT_EQ(Child<TFileListBox>(dialog, "FileList")->ItemHeight(), 13);
        EXPECT_EQ(Child<TDirectoryListBox>(dialog, "DirList")->ItemHeight(), 17);
        EXPECT_EQ(Child<QPushButton>(dialog, "OKButton")->text(), "OK");
        EXPECT_TRUE(Child<QPushButton>(dialog, "OKButton")->isDefault());
        EXPECT_EQ(Child<QPushButton>(dialog, "CancelButton")->text(), "Cancel");
        EXPECT_EQ(Child<QPushButton>(dialog, "btnCreate")->text(), "Create folder");
        EXPECT_EQ(Child<QPushButton>(dialog, "btnCreate")->toolTip(), "Create new folder");
        EXPECT_EQ(Child<QPushButton>(dialog, "btnNetwork")->text(), "Network");
        EXPECT_FALSE(Child<QWidget>(dialog, "btnNetwork")->isVisible());
        EXPECT_EQ(dialog->focusWidget(), Child<QWidget>(dialog, "DirList"));
        auto* drives = Child<TDriveComboBox>(dialog, "DriveList");
        ASSERT_GT(drives->count(), 0);
        EXPECT_TRUE(drives->itemText(0).startsWith("/ ")) << drives->itemText(0).toStdString();
        auto* files = Child<TFileListBox>(dialog, "FileList");
        EXPECT_EQ(files->selectionMode(), QAbstractItemView::NoSelection);
        EXPECT_EQ(files->palette().color(QPalette::Active, QPalette::Text),
                  files->palette().color(QPalette::Disabled, QPalette::Text));
        dialog->reject();
    });
}

TEST_F(SelectDirDlgTest, ShortcutButtonsGoToTheDesktopAndDocumentsFolders)
{
    const std::string desktop = (sandbox_.Home() / "Desktop").string();
    const std::string documents = (sandbox_.Home() / "Documents").string();
    fs::create_directories(desktop);
    fs::create_directories(documents);
    folder_ = start_;
    Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        ClickButton(dialog, "BitBtn1");
        EXPECT_EQ(dialog->Directory(), fs::canonical(desktop).string() + "/");
        ClickButton(dialog, "BitBtn2");
        EXPECT_EQ(dialog->Directory(), fs::canonical(documents).string() + "/");
        dialog->reject();
    });
}

TEST_F(SelectDirDlgTest, AShortcutToAMissingFolderStaysSilently)
{
    folder_ = start_;
    Select({foAllowCreate}, [&](TSelectDirDlg* dialog) {
        ClickButton(dialog, "BitBtn1");
        EXPECT_EQ(dialog->Directory(), start_ + "/");
        dialog->reject();
    });
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(SelectDirDlgTest, PerformCreateMakesTheChosenFolderAfterOk)
{
    folder_ = start_;
    const bool confirmed = Select({foPerformCreate}, [&](TSelectDirDlg* dialog) {
        Child<TDirectoryListBox>(dialog, "DirList")->SetFolder(start_ + "/one");
        fs::remove(start_ + "/one");
        ClickButton(dialog, "OKButton");
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(folder_, start_ + "/one/");
    EXPECT_TRUE(fs::is_directory(start_ + "/one"));
}

}  // namespace
}  // namespace selvane
