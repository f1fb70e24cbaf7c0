// selvane-resize run as a separate process, as scripts use it.
#include "engine/codec/JpegEncoder.h"
#include "engine/codec/PictureLoader.h"
#include "RunResize.h"
#include "tests/support/RunUnprivileged.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace selvane {
namespace {

using test::BmpBytes;
using test::Bytes;
using test::CommandResult;
using test::Lines;
using test::RandomRaster;
using test::RunResize;
using test::WriteBytes;

class ResizeCommand : public test::TemporaryFolderTest {};

TEST_F(ResizeCommand, AnswersHelpAndVersion)
{
    EXPECT_EQ(RunResize("--version").output, "selvane-resize 1.5.3.56\n");
    const CommandResult help = RunResize("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("Usage: selvane-resize"), std::string::npos);
}

TEST_F(ResizeCommand, RefusesBadUsageWithStatusTwo)
{
    for (const char* arguments :
         {"", "--factor 1.0 x.png", "--factor 11 x.png", "--factor 2.55 x.png", "--quality 4 x.png",
          "--quality 96 x.png", "--filter Gauss x.png", "--rule same-size --width 10 x.png",
          "--rule sideways x.png", "--bogus x.png", "--width 10 --height 10 x.png", "--factor",
          "--null x.png", "--relative-to . x.png", "--log-format xml x.png"}) {
        const CommandResult result = RunResize(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.output.find("selvane-resize: "), std::string::npos) << arguments;
    }
}

TEST_F(ResizeCommand, ResizesAFolderAndPrintsTheJobLog)
{
    WriteBytes(Path("b.bmp"), BmpBytes(RandomRaster(40, 20, 1)));
    WriteBytes(Path("A.BMP"), BmpBytes(RandomRaster(30, 30, 2)));
    WriteBytes(Path("notes.txt"), {'x'});
    const CommandResult result =
        RunResize("--rule same-width --size 10 --filter lanczos3 '" + Folder() + "'");
    EXPECT_EQ(result.status, 0) << result.output;
    const std::vector<std::string> lines = Lines(result.output);
    ASSERT_EQ(lines.size(), 8u) << result.output;
    EXPECT_NE(lines[3].find(" NEW BATCH JOB STARTED"), std::string::npos);
    EXPECT_EQ(lines[5], "File resized and saved as: " + Folder() + "Output/A.jpg");  // sorted without case
    EXPECT_EQ(lines[6], "File resized and saved as: " + Folder() + "Output/b.jpg");
    EXPECT_EQ(lines[7].rfind("Batch job done in ", 0), 0u);
    EXPECT_EQ(LoadPicture(Folder() + "Output/b.jpg").Height(), 5);
}

// Every rule that looks at the picture's shape, run as a person would type it.
TEST_F(ResizeCommand, TheShapeRulesGiveTheirSizes)
{
    const Raster source = RandomRaster(40, 30, 3);
    WriteBytes(Path("photo.bmp"), BmpBytes(source));
    const struct {
        const char* arguments;
        int width, height;
    } rules[] = {{"--rule fit --width 16 --height 16", 16, 12},
                 {"--rule long-side --size 20", 20, 15},
                 {"--rule short-side --size 15", 20, 15},
                 {"--rule percent --percent 50", 20, 15},
                 {"--rule long-side --size 100 --no-enlarge", 40, 30}};
    for (const auto& rule : rules) {
        const CommandResult result = RunResize(std::string(rule.arguments) + " '" + Path("photo.bmp") + "'");
        ASSERT_EQ(result.status, 0) << rule.arguments << "\n" << result.output;
        const Raster written = LoadPicture(Folder() + "Output/photo.jpg");
        EXPECT_EQ(written.Width(), rule.width) << rule.arguments;
        EXPECT_EQ(written.Height(), rule.height) << rule.arguments;
    }
    // Never enlarged, the picture keeps its own pixels: only encoded, not resampled.
    WriteJpegFile(source, 74, Path("encoded.jpg"));
    EXPECT_EQ(test::ReadBytes(Folder() + "Output/photo.jpg"), test::ReadBytes(Path("encoded.jpg")));
}

TEST_F(ResizeCommand, ExitsWithOneWhenAPictureIsNotSaved)
{
    WriteBytes(Path("photo.bmp"), BmpBytes(RandomRaster(8, 8, 1)));
    WriteBytes(Path("broken.gif"), {'G', 'I', 'F'});
    const CommandResult result =
        RunResize("--output '" + Path("out") + "' '" + Path("photo.bmp") + "' '" + Path("broken.gif") + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("ERROR! Cannot open picture: " + Path("broken.gif")), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(Path("out/photo.jpg")));

    const CommandResult again =
        RunResize("--no-overwrite --output '" + Path("out") + "' '" + Path("photo.bmp") + "'");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.output.find("WARNING! File already exists (not overwritten): " + Path("out/photo.jpg")),
              std::string::npos);
}

TEST_F(ResizeCommand, SaysItCannotSaveWhereTheOutputFolderCannotBeMade)
{
    WriteBytes(Path("photo.bmp"), BmpBytes(RandomRaster(8, 8, 1)));
    WriteBytes(Path("taken"), {'x'});  // a file where a folder would have to go
    const std::string output = Path("taken") + "/out";
    const CommandResult result = RunResize("--output '" + output + "' '" + Path("photo.bmp") + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("Cannot save file as: " + output + "/photo.jpg"), std::string::npos)
        << result.output;
    EXPECT_EQ(std::filesystem::file_size(Path("taken")), 1u);
}

TEST_F(ResizeCommand, NeverWritesOverItsInput)
{
    WriteBytes(Path("photo.bmp"), BmpBytes(RandomRaster(8, 8, 1)));
    ASSERT_EQ(RunResize("--output '" + Folder() + "' '" + Path("photo.bmp") + "'").status, 0);
    const auto before = std::filesystem::file_size(Path("photo.jpg"));
    const CommandResult result = RunResize("--output '" + Folder() + "' '" + Path("photo.jpg") + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(std::filesystem::file_size(Path("photo.jpg")), before);
}

TEST_F(ResizeCommand, ConcurrentJobsGiveTheSameLogAndFilesAsOne)
{
    // Several sources share an output name: the overwrite rule must come out as one by one.
    for (const char* name : {"holiday.bmp", "holiday.BMP", "a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"})
        WriteBytes(Path(name), BmpBytes(RandomRaster(64 + name[0] % 7, 48, static_cast<unsigned>(name[0]))));
    WriteBytes(Path("broken.png"), {1, 2, 3});
    std::vector<std::string> logs;
    for (const char* jobs : {"1", "3"}) {
        const std::string out = Path(std::string("out") + jobs);
        const CommandResult result = RunResize("--no-overwrite --jobs " + std::string(jobs) + " --output '" +
                                               out + "' '" + Folder() + "'");
        EXPECT_EQ(result.status, 1) << result.output;
        std::string log = result.output.substr(result.output.find('\n', 3));  // without the dated header
        log = log.substr(0, log.rfind("Batch job done in "));
        for (auto at = log.find(out); at != std::string::npos; at = log.find(out))
            log.replace(at, out.size(), "OUT");
        logs.push_back(log);
    }
    EXPECT_EQ(logs[0], logs[1]);
    EXPECT_NE(logs[0].find("WARNING! File already exists (not overwritten): OUT/holiday.jpg"),
              std::string::npos);
    for (const auto& entry : std::filesystem::directory_iterator(Path("out1"))) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(Bytes(LoadPicture(entry.path().string())), Bytes(LoadPicture(Path("out3/" + name))))
            << name;
    }
}

TEST_F(ResizeCommand, ASourceThatIsNotThereGetsNoOutputFolder)
{
    std::filesystem::create_directories(Path("a/b"));
    const CommandResult result = RunResize("'" + Path("a/b/missing.png") + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("ERROR! Cannot open picture: " + Path("a/b/missing.png")),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Path("a/b/Output")));
}

TEST_F(ResizeCommand, NoPicturesIsAFailure)
{
    std::filesystem::create_directories(Path("empty"));
    const CommandResult empty = RunResize("'" + Path("empty") + "'");
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.output, "Warning: No pictures to process\n");

    std::filesystem::create_directories(Path("locked"));
    std::filesystem::permissions(Path("locked"), std::filesystem::perms::none);
    const std::string locked =
        test::RunUnprivileged([&] { return RunResize("'" + Path("locked") + "'").output; });
    EXPECT_EQ(locked, "selvane-resize: cannot read folder '" + Path("locked") + "': Permission denied\n");
}

TEST_F(ResizeCommand, LogsFullPathsForRelativeArguments)
{
    std::filesystem::create_directories(Path("src"));
    WriteBytes(Path("src/a.bmp"), BmpBytes(RandomRaster(8, 8, 1)));
    const CommandResult result = RunResize("src/./a.bmp", "cd '" + Folder() + "' && ");
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("File resized and saved as: " + Folder() + "src/Output/a.jpg\n"),
              std::string::npos)
        << result.output;
}

TEST_F(ResizeCommand, RunningOutOfMemoryEndsTheBatchWithAMessage)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit under the limit";
#endif
    // A 7000 x 7000 picture magnified twice needs far more than 600 MB.
    WriteJpegFile(Raster(7000, 7000), 50, Path("big.jpg"));
    const CommandResult result =
        RunResize("--jobs 1 --rule increase --factor 2 '" + Path("big.jpg") + "' '" + Path("big.jpg") + "'",
                  "ulimit -v 600000; ");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("selvane-resize: not enough memory to go on; batch ended\n"),
              std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("Batch job done in "), std::string::npos);
}

TEST_F(ResizeCommand, OnATerminalTheCountNeverSharesALineWithTheLog)
{
    for (const char* name : {"a.bmp", "b.bmp"}) WriteBytes(Path(name), BmpBytes(RandomRaster(8, 8, 1)));
    // script gives the program a terminal for both of its outputs.
    const CommandResult result = RunResize("--jobs 1 '" + Folder() + "'\" /dev/null", "script -qec \"");
    ASSERT_EQ(result.status, 0) << result.output;
    std::string screen;  // what the terminal shows: a carriage return and an erase take the line back
    for (std::size_t at = 0; at < result.output.size(); ++at) {
        if (result.output.compare(at, 4, "\r\033[K") == 0) {
            screen.erase(screen.rfind('\n') + 1);
            at += 3;
        } else if (result.output[at] != '\r') {
            screen += result.output[at];
        }
    }
    const std::vector<std::string> lines = Lines(screen);
    ASSERT_GE(lines.size(), 3u) << screen;
    EXPECT_EQ(lines[lines.size() - 3], "File resized and saved as: " + Folder() + "Output/a.jpg");
    EXPECT_EQ(lines[lines.size() - 2], "File resized and saved as: " + Folder() + "Output/b.jpg");
    EXPECT_EQ(lines.back().rfind("Batch job done in ", 0), 0u);
    EXPECT_EQ(screen.substr(screen.rfind('\n') + 1), "");  // nothing left below the log
}

}  // namespace
}  // namespace selvane
