// "Copy as command line": the command on the clipboard, run by a shell, writes the files
// that Start writes for the same pictures and options.
#include "MainFormFixture.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

#include <cstdio>

namespace selvane::test {
namespace {

using MainFormCommandLineTest = MainFormTest;

// Runs command through the shell with the built selvane-resize in place of its name;
// the exit status.
int RunCopiedCommand(const std::string& command)
{
    const std::string program = "selvane-resize";
    if (!command.starts_with(program + " ")) return -1;
    FILE* pipe =
        popen((SELVANE_RESIZE_PATH + command.substr(program.size()) + " >/dev/null 2>&1").c_str(), "r");
    return pipe ? pclose(pipe) : -1;
}

struct OptionCase {
    const char* name;
    const char* settings;           // lines of the settings file's [Settings] section, then others
    const char* output = "Output";  // where the files go, inside the pictures' folder
};

class CopiedCommandTest : public MainFormTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(CopiedCommandTest, WritesTheFilesOfTheWindowsBatch)
{
    // A folder name that a shell would split and unquote.
    const std::string folder = MakePictures("it's my $photos", {"a b.jpg", "c.png", "d.jpg"}, 90, 60);
    WriteQuietSettings(folder, GetParam().settings);
    TMainForm& form = StartShown();
    ClickItem(0);
    ClickItem(1, Qt::ControlModifier);

    form.actCopyCommand->trigger();
    const std::string command = QGuiApplication::clipboard()->text().toStdString();
    ASSERT_EQ(RunCopiedCommand(command), 0) << command;
    const std::string output = folder + GetParam().output;
    const std::map<std::string, std::string> fromCommand = FilesIn(output);
    std::filesystem::remove_all(output);

    QTest::keyClick(&form, Qt::Key_F9);

    EXPECT_EQ(fromCommand.size(), 2u) << command;
    EXPECT_EQ(FilesIn(output), fromCommand) << command;
    EXPECT_TRUE(recorder_.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Options, CopiedCommandTest,
    ::testing::Values(
        OptionCase{"Defaults", ""},
        OptionCase{"FitBoxLanczosNamedQuality60",
                   "chkAddFltName=1\ncmbResampleQ=4\ntrkQuality=60\n"
                   "[Resize]\nradXDecrease=0\nradFitBox=1\nspnFitWidth=50\nspnFitHeight=20\n"},
        OptionCase{"PercentAsStored", "chkKeepMetadata=0\nchkAutoOrient=0\nchkToSrgb=1\n"
                                      "[Resize]\nradXDecrease=0\nradPercent=1\nspnPercent=30\n"},
        OptionCase{"SameWidthMagnified", "spnWH=130\n[Resize]\nradXDecrease=0\nradSameWidth=1\n"},
        OptionCase{"ChosenFolderWebPUnderASize",
                   "edtOutFolder=web copies\ncmbOutFormat=2\nchkMaxSize=1\nspnMaxSize=1\n", "web copies"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(MainFormCommandLineTest, NothingSelectedWarnsAndCopiesNothing)
{
    const std::string folder = MakePictures("photos", {"a.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    form.FileList->SetItemSelected(0, false);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    form.actCopyCommand->trigger();

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].text, "Please select the file(s) you want to resize!");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
}

}  // namespace
}  // namespace selvane::test
