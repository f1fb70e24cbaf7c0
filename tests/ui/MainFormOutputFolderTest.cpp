// The output folder typed on the resizer page: where a batch saves, and what happens when
// that folder cannot be made.
#include "MainFormFixture.h"

#include "engine/codec/PictureLoader.h"

#include <QLineEdit>

namespace selvane::test {
namespace {

using MainFormOutputFolderTest = MainFormTest;

void TypeFolder(TMainForm& form, const std::string& folder)
{
    form.edtOutFolder->setFocus();
    QTest::keyClicks(form.edtOutFolder, QString::fromStdString(folder));
}

// A typed folder that does not exist yet is made, parents and all, and the pictures go
// there instead of into the pictures' "Output" folder; a folder typed without its full
// path is one inside the pictures' folder.
TEST_F(MainFormOutputFolderTest, F9SavesInTheTypedFolder)
{
    const std::string folder = MakePictures("photos", {"a.jpg"}, 40, 30);
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    ClickItem(0);
    const std::string chosen = (Temp() / "web" / "small").string();
    TypeFolder(form, chosen);

    QTest::keyClick(&form, Qt::Key_F9);

    EXPECT_EQ(LogLines().back(), "File resized and saved as: " + chosen + "/a.jpg");
    EXPECT_EQ(LoadPicture(chosen + "/a.jpg").Width(), 20);
    EXPECT_FALSE(std::filesystem::exists(folder + "Output"));

    form.edtOutFolder->clear();
    TypeFolder(form, "half size");
    QTest::keyClick(&form, Qt::Key_F9);
    EXPECT_EQ(LogLines().back(), "File resized and saved as: " + folder + "half size/a.jpg");

    // Emptied again, the pictures' own "Output" folder is back.
    form.edtOutFolder->clear();
    QTest::keyClick(&form, Qt::Key_F9);
    EXPECT_EQ(LogLines().back(), "File resized and saved as: " + folder + "Output/a.jpg");
    EXPECT_TRUE(recorder_.messages.empty());
}

// A folder that cannot be made (its parent is a file) fails each picture as a failed save
// does, and touches neither the pictures nor the file in the way.
TEST_F(MainFormOutputFolderTest, AFolderThatCannotBeMadeFailsEachPictureAndLosesNothing)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"}, 40, 30);
    WriteQuietSettings(folder);
    const std::filesystem::path blocker = Temp() / "blocker";
    TestSandbox::WriteFile(blocker, "in the way");
    const std::string before = TestSandbox::ReadFile(folder + "a.jpg");
    TMainForm& form = StartShown();
    form.actSellAll->trigger();
    const std::string chosen = (blocker / "out").string();
    TypeFolder(form, chosen);

    QTest::keyClick(&form, Qt::Key_F9);

    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Cannot save file as: " + chosen + "/a.jpg");
    EXPECT_EQ(lines.back(), "Cannot save file as: " + chosen + "/b.jpg");
    EXPECT_EQ(recorder_.messages.size(), 2u);
    EXPECT_EQ(TestSandbox::ReadFile(blocker), "in the way");
    EXPECT_EQ(TestSandbox::ReadFile(folder + "a.jpg"), before);
    EXPECT_TRUE(std::filesystem::exists(folder + "b.jpg"));
    EXPECT_TRUE(form.StatusText().startsWith("Batch job done in "));
}

}  // namespace
}  // namespace selvane::test
