// "Include subfolders": the list shows the tree below the folder by relative paths, the
// list's commands work on them, and a batch keeps the tree below the output folder.
#include "MainFormFixture.h"

#include "engine/codec/PictureLoader.h"
#include "source/FilterComboBox.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include <cstdio>

namespace selvane::test {
namespace {

using MainFormSubfoldersTest = MainFormTest;

std::vector<std::string> ListTexts(TMainForm& form)
{
    std::vector<std::string> texts;
    for (int row = 0; row < form.FileList->ItemCount(); ++row) texts.push_back(form.FileList->ItemText(row));
    return texts;
}

// Every file below folder, by its path relative to it, with its bytes.
std::map<std::string, std::string> TreeFiles(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).string()] = TestSandbox::ReadFile(entry.path());
    return files;
}

void ClickSubfolders(TMainForm& form)
{
    QTest::mouseClick(form.chkSubfolders, Qt::LeftButton, Qt::NoModifier,
                      QPoint(6, form.chkSubfolders->height() / 2));
}

TEST_F(MainFormSubfoldersTest, TheListShowsTheTreeAndTheBatchKeepsIt)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.png"}, 40, 30);
    MakePictures("photos/2024", {"c.jpg"}, 40, 30);
    MakePictures("photos/2024/june", {"d.jpg"}, 40, 30);
    MakePictures("photos/Output", {"earlier.jpg"});  // an earlier batch's outputs
    MakePictures("photos/.thumbnails", {"t.jpg"});   // hidden folders are not entered
    std::filesystem::create_directory_symlink(MakePictures("elsewhere", {"far.jpg"}), folder + "linked");
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    EXPECT_EQ(ListTexts(form), (std::vector<std::string>{"a.jpg", "b.png"}));

    ClickSubfolders(form);
    ASSERT_TRUE(form.chkSubfolders->isChecked());
    const std::vector<std::string> tree{"a.jpg", "b.png", "2024/c.jpg", "2024/june/d.jpg"};
    EXPECT_EQ(ListTexts(form), tree);

    // The preview, the filter box and the selection work on the relative names.
    ClickItem(3);
    EXPECT_EQ(form.StatusText().toStdString(), "Current image: " + folder + "2024/june/d.jpg");
    form.FilterCombo->setFocus();
    for (int i = 0; i < 3; ++i) QTest::keyClick(form.FilterCombo, Qt::Key_Down);
    EXPECT_EQ(ListTexts(form), (std::vector<std::string>{"b.png"}));
    QTest::keyClick(form.FilterCombo, Qt::Key_Home);
    EXPECT_EQ(ListTexts(form), tree);
    ClickItem(2);
    form.btnInvert->click();
    EXPECT_FALSE(form.FileList->ItemSelected(2));
    EXPECT_TRUE(form.FileList->ItemSelected(3));

    form.actSellAll->trigger();
    QTest::keyClick(&form, Qt::Key_F9);
    ASSERT_TRUE(WaitUntil([&] { return form.StatusText().startsWith("Batch job done in "); }));
    const std::string output = folder + "Output/";
    EXPECT_EQ(LogLines().back(), "File resized and saved as: " + output + "2024/june/d.jpg");
    std::map<std::string, std::string> written = TreeFiles(output);
    written.erase("earlier.jpg");
    std::vector<std::string> names;
    for (const auto& [name, bytes] : written) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"2024/c.jpg", "2024/june/d.jpg", "a.jpg", "b.jpg"}));
    EXPECT_EQ(LoadPicture(output + "2024/june/d.jpg").Width(), 20);

    // Unchecked, the folder alone again.
    ClickSubfolders(form);
    EXPECT_EQ(ListTexts(form), (std::vector<std::string>{"a.jpg", "b.png"}));
    EXPECT_TRUE(recorder_.messages.empty());
}

// Three levels of 200 pictures give the same tree under Output; a second run that may not
// overwrite warns for each picture and changes nothing.
TEST_F(MainFormSubfoldersTest, ASecondRunWithoutOverwritingWarnsForEachAndChangesNothing)
{
    int made = 0;
    std::vector<std::string> expected;
    for (const std::string level : {"", "one/", "one/two/", "one/two/three/"}) {
        std::vector<std::string> files;
        for (int i = 0; i < 50; ++i, ++made)
            files.push_back(std::string("p").append(std::to_string(made)).append(".jpg"));
        MakePictures(std::string("tree/").append(level), files, 8, 6);
        for (const std::string& file : files) expected.push_back(level + file);
    }
    const std::string folder = (sandbox_.Root() / "tree").string() + "/";
    WriteQuietSettings(folder, "chkSubfolders=1\nchkOverwrite=0\n");
    TMainForm& form = StartShown();
    ASSERT_EQ(form.FileList->ItemCount(), 200);

    form.actSellAll->trigger();
    QTest::keyClick(&form, Qt::Key_F9);
    ASSERT_TRUE(WaitUntil([&] { return form.StatusText().startsWith("Batch job done in "); }));
    const std::map<std::string, std::string> first = TreeFiles(folder + "Output");
    std::vector<std::string> names;
    for (const auto& [name, bytes] : first) names.push_back(name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);

    form.Memo->clear();
    QTest::keyClick(&form, Qt::Key_F9);
    ASSERT_TRUE(WaitUntil([&] { return form.StatusText().startsWith("Batch job done in "); }));
    const std::string warning =
        std::string("WARNING! File already exists (not overwritten): ").append(folder).append("Output/");
    int warnings = 0;
    for (const std::string& line : LogLines()) warnings += line.starts_with(warning);
    EXPECT_EQ(warnings, 200);
    EXPECT_EQ(TreeFiles(folder + "Output"), first);
}

// An output folder inside the tree is left out of the list as soon as it is chosen, so a
// batch never takes in its own outputs.
TEST_F(MainFormSubfoldersTest, AChosenOutputFolderInsideTheTreeIsLeftOut)
{
    const std::string folder = MakePictures("photos", {"a.jpg"});
    MakePictures("photos/small", {"a.jpg"});
    MakePictures("photos/2024", {"b.jpg"});
    WriteQuietSettings(folder, "chkSubfolders=1\n");
    TMainForm& form = StartShown();
    EXPECT_EQ(ListTexts(form), (std::vector<std::string>{"a.jpg", "2024/b.jpg", "small/a.jpg"}));

    form.edtOutFolder->setFocus();
    QTest::keyClicks(form.edtOutFolder, QStringLiteral("small"));
    QTest::keyClick(form.edtOutFolder, Qt::Key_Tab);

    EXPECT_EQ(ListTexts(form), (std::vector<std::string>{"a.jpg", "2024/b.jpg"}));
}

// The copied command keeps the tree below the output folder as the window's batch does.
TEST_F(MainFormSubfoldersTest, TheCopiedCommandWritesTheSameTree)
{
    const std::string folder = MakePictures("it's photos", {"a.jpg"}, 40, 30);
    MakePictures("it's photos/2024 june", {"b.jpg"}, 40, 30);
    WriteQuietSettings(folder, "chkSubfolders=1\n");
    TMainForm& form = StartShown();
    form.actSellAll->trigger();

    form.actCopyCommand->trigger();
    const std::string command = QGuiApplication::clipboard()->text().toStdString();
    const std::string program = "selvane-resize";
    ASSERT_TRUE(command.starts_with(program + " ")) << command;
    FILE* pipe =
        popen((SELVANE_RESIZE_PATH + command.substr(program.size()) + " >/dev/null 2>&1").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    ASSERT_EQ(pclose(pipe), 0) << command;
    const std::map<std::string, std::string> fromCommand = TreeFiles(folder + "Output");
    std::filesystem::remove_all(folder + "Output");

    QTest::keyClick(&form, Qt::Key_F9);
    ASSERT_TRUE(WaitUntil([&] { return form.StatusText().startsWith("Batch job done in "); }));

    EXPECT_EQ(fromCommand.size(), 2u) << command;
    EXPECT_EQ(TreeFiles(folder + "Output"), fromCommand) << command;
}

}  // namespace
}  // namespace selvane::test
