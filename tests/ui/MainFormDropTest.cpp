// Pictures and folders dropped on the window, sent as the drag-enter and drop events a file
// manager's drag gives.
#include "MainFormFixture.h"

#include "tests/support/CaseName.h"
#include "tests/support/TestSandbox.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace selvane::test {
namespace {

using MainFormDropTest = MainFormTest;

std::vector<int> SelectedRows(const TMainForm& form)
{
    std::vector<int> rows;
    for (int row = 0; row < form.FileList->ItemCount(); ++row)
        if (form.FileList->ItemSelected(row)) rows.push_back(row);
    return rows;
}

// Drags the paths onto the window and drops them there; false when the window refused
// the drag, in which case nothing is dropped.
bool DropPaths(TMainForm& form, const std::vector<std::string>& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    data.setUrls(urls);
    const QPoint point = form.rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
    return drop.isAccepted();
}

TEST_F(MainFormDropTest, ADroppedFolderBecomesTheSourceOnItsFirstPicture)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"});
    WriteQuietSettings(MakePictures("start", {"x.jpg"}));
    TMainForm& form = StartShown();

    ASSERT_TRUE(DropPaths(form, {folder}));

    EXPECT_EQ(form.edtPath->text().toStdString(), folder);
    EXPECT_EQ(SelectedRows(form), std::vector<int>{0});
    EXPECT_EQ(form.FileList->CurrentFilePath(), folder + "a.jpg");
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(MainFormDropTest, DroppedPicturesOfOneFolderAreSelectedAndOtherFilesLeftOut)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg", "c.png"});
    TestSandbox::WriteFile(folder + "notes.txt", "not a picture");
    WriteQuietSettings(MakePictures("start", {"x.jpg"}));
    TMainForm& form = StartShown();

    ASSERT_TRUE(DropPaths(form, {folder + "notes.txt", folder + "c.png", folder + "a.jpg"}));

    EXPECT_EQ(form.edtPath->text().toStdString(), folder);
    EXPECT_EQ(SelectedRows(form), (std::vector<int>{0, 2}));
    EXPECT_EQ(form.FileList->CurrentFilePath(), folder + "c.png");
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(MainFormDropTest, PicturesDroppedOnTheFolderShownAreListedAfresh)
{
    const std::string folder = MakePictures("photos", {"a.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    ASSERT_EQ(form.FileList->ItemCount(), 1);
    MakePictures("photos", {"new.jpg"});

    ASSERT_TRUE(DropPaths(form, {folder + "new.jpg"}));

    ASSERT_EQ(form.FileList->ItemCount(), 2);
    EXPECT_EQ(SelectedRows(form), std::vector<int>{1});
    EXPECT_EQ(form.FileList->CurrentFilePath(), folder + "new.jpg");
}

// Drops that the window refuses with one box, leaving the folder and the selection alone.
// "~" stands for the sandbox's folder of folders.
struct RefusedDrop {
    const char* name;
    std::vector<std::string> paths;
    std::string message;
};

void PrintTo(const RefusedDrop& row, std::ostream* out)
{
    *out << row.name;
}

class MainFormRefusedDropTest : public MainFormTest, public ::testing::WithParamInterface<RefusedDrop> {};

TEST_P(MainFormRefusedDropTest, ShowsOneBoxAndChangesNothing)
{
    const std::string root = sandbox_.Root().string();
    MakePictures("one", {"a.jpg", "b.jpg"});
    MakePictures("two", {"c.jpg"});
    TestSandbox::WriteFile(root + "/one/notes.txt", "not a picture");
    const std::string start = MakePictures("start", {"x.jpg", "y.jpg"});
    WriteQuietSettings(start);
    TMainForm& form = StartShown();
    std::vector<std::string> paths;
    for (const std::string& path : GetParam().paths) paths.push_back(root + path.substr(1));

    EXPECT_TRUE(DropPaths(form, paths));

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(recorder_.messages[0].text, GetParam().message);
    EXPECT_EQ(form.edtPath->text().toStdString(), start);
    EXPECT_EQ(SelectedRows(form), std::vector<int>{0});
    EXPECT_EQ(form.FileList->CurrentFilePath(), start + "x.jpg");
}

constexpr const char* kOneFolder = "Only one folder can be processed at a time.";

const RefusedDrop kRefusedDrops[] = {
    {"PicturesOfTwoFolders", {"~/one/a.jpg", "~/two/c.jpg", "~/one/b.jpg"}, kOneFolder},
    {"TwoFolders", {"~/one", "~/two"}, kOneFolder},
    {"AFolderAndAPictureBesideIt", {"~/two", "~/one/a.jpg"}, kOneFolder},
    {"OnlyFilesThatAreNoPictures", {"~/one/notes.txt"}, "None of these files is a picture."},
};

INSTANTIATE_TEST_SUITE_P(Drops, MainFormRefusedDropTest, ::testing::ValuesIn(kRefusedDrops), CaseName);

// On one core and on all of them: either way the batch lets window messages through.
class MainFormDropInBatchTest : public MainFormTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MainFormDropInBatchTest, TheWindowRefusesDropsWhileABatchRuns)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"});
    const std::string other = MakePictures("other", {"c.jpg"});
    WriteQuietSettings(folder, GetParam());
    TMainForm& form = StartShown();
    form.actSellAllExecute();
    bool accepted = true;
    WhenLogShows(form, "File resized and saved as: ", [&] { accepted = DropPaths(form, {other}); });

    QTest::mouseClick(form.btnStart, Qt::LeftButton);

    EXPECT_FALSE(accepted);
    EXPECT_EQ(form.edtPath->text().toStdString(), folder);
    EXPECT_TRUE(std::filesystem::exists(folder + "Output/b.jpg"));
    EXPECT_FALSE(std::filesystem::exists(other + "Output"));
    // Afterwards the same drop is taken.
    EXPECT_TRUE(DropPaths(form, {other}));
    EXPECT_EQ(form.edtPath->text().toStdString(), other);
}

INSTANTIATE_TEST_SUITE_P(Ways, MainFormDropInBatchTest,
                         ::testing::Values("chkAllCores=0\n", "chkAllCores=1\n"));

}  // namespace
}  // namespace selvane::test
