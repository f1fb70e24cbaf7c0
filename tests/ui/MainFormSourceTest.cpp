// The path edit driving the file list, the preview of a clicked file, and the list's
// commands, with real typing and clicks.
#include "MainFormFixture.h"

#include "source/FilterComboBox.h"
#include "ui/mainform/StartPaths.h"
#include "ui/widgets/PreviewImage.h"
#include "ui/widgets/WidgetLook.h"
#include "ui/widgets/WindowColors.h"

#include <optional>

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>

namespace selvane::test {
namespace {

using MainFormSourceTest = MainFormTest;

std::vector<int> SelectedRows(const TMainForm& form)
{
    std::vector<int> rows;
    for (int row = 0; row < form.FileList->ItemCount(); ++row)
        if (form.FileList->ItemSelected(row)) rows.push_back(row);
    return rows;
}

TEST_F(MainFormSourceTest, TheFilterBoxShowsItsFirstEntryWhole)
{
    WriteQuietSettings(MakePictures("photos", {}));
    TMainForm& form = StartShown();
    form.resize(874, form.height());  // the designed width
    QCoreApplication::processEvents();
    TFilterComboBox* box = form.FilterCombo;
    ASSERT_EQ(box->currentIndex(), 0);

    QStyleOptionComboBox option;
    option.initFrom(box);
    const QRect textArea =
        box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    EXPECT_GE(textArea.width(), box->fontMetrics().horizontalAdvance(box->itemText(0)));
    EXPECT_EQ(box->geometry().right(), 868);  // where it was designed, 641 + 228 - 1
    EXPECT_LT(form.btnBrowse->geometry().right(), box->x());
    EXPECT_LT(form.edtPath->geometry().right(), form.btnBrowse->x());
}

TEST_F(MainFormSourceTest, TypingAPathCharacterByCharacterListsTheFolder)
{
    const std::string folder = MakePictures("typed", {"one.jpg", "two.png"});
    WriteQuietSettings(MakePictures("start", {"x.jpg"}));
    TMainForm& form = StartShown();
    form.edtPath->setFocus();
    QTest::keyClick(form.edtPath, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form.edtPath, Qt::Key_Delete);
    EXPECT_EQ(form.edtPath->text(), "");
    EXPECT_EQ(form.edtPath->palette().color(form.edtPath->backgroundRole()),
              StoredColor(colors::kMissingFolder));

    // The folder without its trailing separator, typed as a person types it.
    const std::string typed = folder.substr(0, folder.size() - 1);
    QTest::keyClicks(form.edtPath, QString::fromStdString(typed));

    EXPECT_EQ(form.edtPath->text().toStdString(), folder);
    EXPECT_EQ(form.edtPath->cursorPosition(), static_cast<int>(typed.size()));
    EXPECT_EQ(form.edtPath->palette().color(form.edtPath->backgroundRole()),
              StoredColor(colors::kExistingFolder));
    EXPECT_EQ(form.FileList->Folder() + "/", folder);
    ASSERT_EQ(form.FileList->ItemCount(), 2);
    EXPECT_EQ(form.FileList->ItemText(1), "two.png");
}

TEST_F(MainFormSourceTest, AMissingFolderTurnsTheEditOrangeAndKeepsTheList)
{
    const std::string folder = MakePictures("start", {"x.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    form.edtPath->setFocus();
    QTest::keyClick(form.edtPath, Qt::Key_End);
    QTest::keyClicks(form.edtPath, "missing");
    EXPECT_EQ(form.edtPath->text().toStdString(), folder + "missing/");
    EXPECT_EQ(form.edtPath->palette().color(form.edtPath->backgroundRole()),
              StoredColor(colors::kMissingFolder));
    EXPECT_EQ(form.FileList->Folder() + "/", folder);
    EXPECT_EQ(form.FileList->ItemCount(), 1);
}

TEST_F(MainFormSourceTest, AClickPreviewsTheFocusedPicture)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jp", "c.png"}, 64, 48);
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    EXPECT_FALSE(form.imgLoader->FitToBox());
    const QImage banner = form.imgLoader->Picture();
    EXPECT_EQ(banner.size(), QSize(348, 230));
    form.AbortRequested = true;
    form.actStart->setEnabled(false);

    // A ".jp" file is a JPEG file, and previews as one.
    ClickItem(1);
    EXPECT_EQ(form.StatusText().toStdString(), "Current image: " + folder + "b.jp");
    EXPECT_EQ(form.imgLoader->Picture().size(), QSize(64, 48));
    EXPECT_TRUE(form.imgLoader->FitToBox());
    EXPECT_FALSE(form.AbortRequested);
    EXPECT_TRUE(form.actStart->isEnabled());

    ClickItem(2, Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(form.StatusText().toStdString(), "Current image: " + folder + "c.png");
}

TEST_F(MainFormSourceTest, AFileThatCannotBeLoadedKeepsThePreviousPicture)
{
    const std::string folder = MakePictures("photos", {"a.jpg"});
    TestSandbox::WriteFile(folder + "broken.png", "not a picture");
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    ClickItem(0);
    const QImage shown = form.imgLoader->Picture();

    ClickItem(1);
    EXPECT_EQ(form.StatusText().toStdString(), "Cannot load image: " + folder + "broken.png");
    EXPECT_EQ(form.imgLoader->Picture(), shown);

    // Deselecting the focused item leaves no current file.
    ClickItem(1, Qt::ControlModifier);
    EXPECT_EQ(form.StatusText(), "Cannot load image: ");
}

TEST_F(MainFormSourceTest, TheStartSelectsTheFirstFileWithoutAPreview)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    EXPECT_EQ(SelectedRows(form), std::vector<int>{0});
    EXPECT_EQ(form.FileList->CurrentFilePath(), folder + "a.jpg");
    EXPECT_EQ(form.imgLoader->Picture().size(), QSize(348, 230));
}

TEST_F(MainFormSourceTest, StartPathsOpenTheirFolderAndSelectTheGivenPictures)
{
    const std::string start = MakePictures("start", {"x.jpg"});
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg", "c.jpg"});
    WriteQuietSettings(start);
    TMainForm& form = StartShown();

    form.OpenStartPaths(ReadStartPaths({folder + "c.jpg", folder + "b.jpg", folder + "gone.jpg"}));

    EXPECT_EQ(form.edtPath->text().toStdString(), folder);
    EXPECT_EQ(SelectedRows(form), (std::vector<int>{1, 2}));
    EXPECT_EQ(form.FileList->CurrentFilePath(), folder + "c.jpg");
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(recorder_.messages[0].text, "Cannot open \"" + folder + "gone.jpg\": no such file or folder.");
}

TEST_F(MainFormSourceTest, StartPicturesInTheStartFolderReplaceTheFirstFile)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    ASSERT_EQ(SelectedRows(form), std::vector<int>{0});

    form.OpenStartPaths(ReadStartPaths({folder + "b.jpg"}));

    EXPECT_EQ(SelectedRows(form), std::vector<int>{1});
    EXPECT_EQ(form.FileList->CurrentFilePath(), folder + "b.jpg");
}

TEST_F(MainFormSourceTest, AStartFolderOpensOnItsFirstPictureAndIsKeptAsTheLastFolder)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"});
    WriteQuietSettings(MakePictures("start", {"x.jpg"}));
    TMainForm& form = StartShown();

    form.OpenStartPaths(ReadStartPaths({folder}));

    EXPECT_EQ(SelectedRows(form), std::vector<int>{0});
    EXPECT_EQ(form.FileList->CurrentFilePath(), folder + "a.jpg");
    EXPECT_TRUE(recorder_.messages.empty());
    form.close();
    EXPECT_EQ(ReadSettings()["Settings/LastPath"], folder);
}

TEST_F(MainFormSourceTest, StartPathsThatNameNothingKeepTheStartFolder)
{
    const std::string start = MakePictures("start", {"x.jpg"});
    WriteQuietSettings(start);
    TMainForm& form = StartShown();

    form.OpenStartPaths(ReadStartPaths({start + "gone"}));

    EXPECT_EQ(form.edtPath->text().toStdString(), start);
    EXPECT_EQ(SelectedRows(form), std::vector<int>{0});
    EXPECT_EQ(recorder_.messages.size(), 1u);
}

TEST_F(MainFormSourceTest, SelectAllInvertAndRefresh)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();

    QTest::keyClick(&form, Qt::Key_F4);
    EXPECT_EQ(SelectedRows(form), (std::vector<int>{0, 1, 2, 3}));

    ClickItem(0);
    ClickItem(2, Qt::ControlModifier);
    QTest::mouseClick(form.btnInvert, Qt::LeftButton);
    EXPECT_EQ(SelectedRows(form), (std::vector<int>{1, 3}));

    MakePictures("photos", {"e.jpg"});
    QTest::keyClick(&form, Qt::Key_F5);
    EXPECT_EQ(form.FileList->ItemCount(), 5);
    EXPECT_TRUE(SelectedRows(form).empty());
}

// The folder shown is deleted behind the window's back: a refresh reports it and keeps the
// list; a batch over the listed names reports each picture and writes nothing.
TEST_F(MainFormSourceTest, AFolderRemovedWhileShownIsReportedAndNothingIsWritten)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    QTest::keyClick(&form, Qt::Key_F4);
    std::filesystem::remove_all(folder);

    QTest::keyClick(&form, Qt::Key_F5);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].text,
              "cannot change into '" + folder.substr(0, folder.size() - 1) + "': No such file or directory");
    EXPECT_EQ(form.FileList->ItemCount(), 2);

    QTest::keyClick(&form, Qt::Key_F9);
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
              (std::vector<std::string>{"ERROR! Cannot open picture: " + folder + "a.jpg",
                                        "ERROR! Cannot open picture: " + folder + "b.jpg"}));
    EXPECT_EQ(recorder_.messages.size(), 1u);
    EXPECT_TRUE(form.actStart->isEnabled());
    EXPECT_TRUE(TestSandbox::Names(folder + "Output").empty());
}

// Acts in the folder dialog as soon as it is open: types a folder into its path field (when
// given) and presses OK, or Cancel.
void AnswerFolderDialog(const std::optional<std::string>& folder, std::optional<QString>& caption)
{
    QTimer::singleShot(0, [folder, &caption] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            AnswerFolderDialog(folder, caption);
            return;
        }
        caption = dialog->windowTitle();
        if (folder) {
            auto* path = dialog->findChild<QLineEdit*>("edtDirectory");
            path->setFocus();
            QTest::keyClick(path, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(path, QString::fromStdString(*folder));
        }
        QTest::mouseClick(dialog->findChild<QPushButton*>(folder ? "OKButton" : "CancelButton"),
                          Qt::LeftButton);
    });
}

TEST_F(MainFormSourceTest, BrowseSetsThePathToTheChosenFolder)
{
    const std::string start = MakePictures("start", {"x.jpg"});
    const std::string chosen = MakePictures("chosen", {"y.jpg", "z.jpg"});
    WriteQuietSettings(start);
    TMainForm& form = StartShown();

    std::optional<QString> caption;
    AnswerFolderDialog(chosen.substr(0, chosen.size() - 1), caption);
    QTest::mouseClick(form.btnBrowse, Qt::LeftButton);

    EXPECT_EQ(caption, QString("Browse for images"));
    EXPECT_EQ(form.edtPath->text().toStdString(), chosen);
    EXPECT_EQ(form.FileList->ItemCount(), 2);
}

TEST_F(MainFormSourceTest, ACancelledBrowseChangesNothing)
{
    const std::string start = MakePictures("start", {"x.jpg"});
    WriteQuietSettings(start);
    TMainForm& form = StartShown();

    std::optional<QString> caption;
    AnswerFolderDialog(std::nullopt, caption);
    QTest::mouseClick(form.btnBrowse, Qt::LeftButton);

    EXPECT_TRUE(caption);
    EXPECT_EQ(form.edtPath->text().toStdString(), start);
    EXPECT_EQ(form.FileList->ItemCount(), 1);
}

}  // namespace
}  // namespace selvane::test
