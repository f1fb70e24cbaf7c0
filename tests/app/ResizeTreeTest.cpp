// selvane-resize on folder trees and long lists of pictures: the tree kept under the output
// folder, lists read from a file or a pipe, one JSON record per picture, and runs split up
// by GNU Parallel giving the files of one run.
#include "engine/codec/PictureLoader.h"
#include "LoopbackSshd.h"
#include "RunResize.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace selvane {
namespace {

namespace fs = std::filesystem;
using test::BmpBytes;
using test::Lines;
using test::RandomRaster;
using test::RunResize;

class ResizeTree : public test::TemporaryFolderTest {
protected:
    std::string Quoted(const std::string& name) const
    {
        std::string quoted = "'";
        quoted.append(Path(name)).append("'");
        return quoted;
    }
    void Picture(const std::string& name, unsigned seed = 1) const
    {
        fs::create_directories(fs::path(Path(name)).parent_path());
        test::WriteBytes(Path(name), BmpBytes(RandomRaster(8, 6, seed)));
    }
    // Every file under folder, by its path relative to it, with its bytes.
    std::map<std::string, std::vector<std::uint8_t>> Files(const std::string& folder) const
    {
        std::map<std::string, std::vector<std::uint8_t>> files;
        for (const auto& entry : fs::recursive_directory_iterator(Path(folder)))
            if (entry.is_regular_file())
                files[fs::relative(entry.path(), Path(folder)).string()] =
                    test::ReadBytes(entry.path().string());
        return files;
    }
};

// 200 pictures in a tree three folders deep: 20 at the top, and in each of six folders 10,
// then two folders of 5 that each hold one more folder of 5.
std::vector<std::string> TreeOf200()
{
    std::vector<std::string> names;
    const auto add = [&](const std::string& folder, int count) {
        for (int i = 0; i < count; ++i) names.push_back(folder + "p" + std::to_string(i) + ".bmp");
    };
    add("", 20);
    for (int a = 0; a < 6; ++a) {
        const std::string first = "year" + std::to_string(a) + "/";
        add(first, 10);
        for (int b = 0; b < 2; ++b) {
            const std::string second = first + "month" + std::to_string(b) + "/";
            add(second, 5);
            add(second + "day/", 5);
        }
    }
    return names;
}

TEST_F(ResizeTree, ARecursedTreeKeepsItsShapeAndASecondRunChangesNothing)
{
    const std::vector<std::string> names = TreeOf200();
    ASSERT_EQ(names.size(), 200u);
    for (std::size_t i = 0; i < names.size(); ++i) Picture("photos/" + names[i], static_cast<unsigned>(i));
    const std::string arguments = "--recursive --rule same-width --size 4 --jobs 2 " + Quoted("photos");
    const test::CommandResult first = RunResize(arguments);
    ASSERT_EQ(first.status, 0) << first.output;

    const auto outputs = Files("photos/Output");
    ASSERT_EQ(outputs.size(), 200u);
    for (const std::string& name : names) {
        const std::string output = name.substr(0, name.size() - 3) + "jpg";
        ASSERT_TRUE(outputs.count(output)) << output;
        EXPECT_EQ(LoadPicture(Path("photos/Output/" + output)).Width(), 4);
    }

    const fs::file_time_type before = fs::last_write_time(Path("photos/Output/year5/month1/day/p4.jpg"));
    const test::CommandResult second = RunResize("--no-overwrite " + arguments);
    EXPECT_EQ(second.status, 1);
    int warnings = 0;
    for (const std::string& line : Lines(second.output))
        warnings +=
            line.starts_with("WARNING! File already exists (not overwritten): " + Path("photos/Output/"));
    EXPECT_EQ(warnings, 200);
    EXPECT_EQ(Files("photos/Output"), outputs);
    EXPECT_EQ(fs::last_write_time(Path("photos/Output/year5/month1/day/p4.jpg")), before);
}

TEST_F(ResizeTree, AListFromAPipeKeepsTheTreeBelowRelativeTo)
{
    Picture("src/a/x.bmp");
    Picture("src/b/c/y.bmp");
    Picture("other/z.bmp");
    const std::string list =
        "printf '%s\\0' '" + Path("src/a/x.bmp") + "' src/b/c/y.bmp '" + Path("other/z.bmp") + "' | ";
    const test::CommandResult result =
        RunResize("--files-from - --null --relative-to src --output out", "cd '" + Folder() + "' && " + list);
    EXPECT_EQ(result.status, 1);  // the picture outside the tree
    EXPECT_NE(result.output.find("selvane-resize: '" + Path("other/z.bmp") +
                                 "' is not inside --relative-to '" + Path("src") + "'\n"),
              std::string::npos)
        << result.output;
    EXPECT_TRUE(fs::exists(Path("out/a/x.jpg"))) << result.output;
    EXPECT_TRUE(fs::exists(Path("out/b/c/y.jpg")));
    EXPECT_EQ(Files("out").size(), 2u);

    // A list file of lines, and one that cannot be read.
    test::WriteBytes(Path("list.txt"), {'s', 'r', 'c', '/', 'a', '/', 'x', '.', 'b', 'm', 'p', '\n', '\n'});
    EXPECT_EQ(RunResize("--files-from list.txt --output lined", "cd '" + Folder() + "' && ").status, 0);
    EXPECT_TRUE(fs::exists(Path("lined/x.jpg")));
    const test::CommandResult missing = RunResize("--files-from " + Quoted("missing.txt"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output, "selvane-resize: cannot read --files-from '" + Path("missing.txt") + "'\n");
}

TEST_F(ResizeTree, JsonlGivesOneRecordForEachPicture)
{
    test::WriteBytes(Path("wide.bmp"), BmpBytes(RandomRaster(40, 20, 1)));
    test::WriteBytes(Path("broken.gif"), {'G', 'I', 'F'});
    test::WriteBytes(Path("kept.bmp"), BmpBytes(RandomRaster(8, 8, 2)));
    fs::create_directories(Path("Output"));
    test::WriteBytes(Path("Output/kept.jpg"), {'x'});
    const test::CommandResult result =
        RunResize("--log-format jsonl --no-overwrite --rule same-width --size 10 " + Quoted("wide.bmp") +
                  " " + Quoted("broken.gif") + " " + Quoted("kept.bmp"));
    EXPECT_EQ(result.status, 1);
    const std::vector<std::string> lines = Lines(result.output);
    ASSERT_EQ(lines.size(), 3u) << result.output;
    const std::string saved = Path("Output/wide.jpg");
    const std::string prefix =
        "{\"source\":\"" + Path("wide.bmp") + "\",\"status\":\"saved\",\"output\":\"" + saved +
        "\",\"width\":40,\"height\":20,\"output_width\":10,\"output_height\":5,\"bytes\":" +
        std::to_string(fs::file_size(saved)) + ",\"milliseconds\":";
    EXPECT_EQ(lines[0].substr(0, prefix.size()), prefix);
    EXPECT_TRUE(lines[0].ends_with(",\"messages\":[]}")) << lines[0];
    EXPECT_NE(lines[1].find("\"status\":\"failed\",\"output\":null,\"width\":0"), std::string::npos)
        << lines[1];
    EXPECT_NE(lines[1].find("\"messages\":[\"ERROR! Cannot open picture: " + Path("broken.gif") + "\"]}"),
              std::string::npos)
        << lines[1];
    EXPECT_NE(lines[2].find("\"status\":\"skipped\""), std::string::npos) << lines[2];
}

// Debian's parallel splits the list over two jobs, as it would over several machines; the
// files must be those of one run.
TEST_F(ResizeTree, GnuParallelRunsGiveTheFilesOfOneRun)
{
    ASSERT_EQ(std::system("parallel --version >/dev/null 2>&1"), 0)
        << "GNU Parallel (Debian's parallel) is needed";
    const std::vector<std::string> names = TreeOf200();
    for (std::size_t i = 0; i < 60; ++i) Picture("photos/" + names[i * 3], static_cast<unsigned>(i));
    const std::string resize = std::string(SELVANE_RESIZE_PATH) + " --rule same-width --size 4 --jobs 1";
    const std::string command = "cd " + Quoted("photos") +
                                " && find . -name '*.bmp' -print0 | parallel --will-cite -0 "
                                "--jobs 2 -X " +
                                resize + " --relative-to . --output " + Quoted("spread") +
                                " --log-format jsonl > " + Quoted("records.jsonl");
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_EQ(RunResize("--recursive --rule same-width --size 4 --output " + Quoted("local") + " " +
                        Quoted("photos"))
                  .status,
              0);
    const auto spread = Files("spread");
    EXPECT_EQ(spread.size(), 60u);
    EXPECT_EQ(spread, Files("local"));
    EXPECT_EQ(Lines(test::TestSandbox::ReadFile(Path("records.jsonl"))).size(), 60u);
}

// The same through ssh, as to other machines: one share of the list runs here, the other
// logs in to an ssh server on this machine and runs there.
TEST_F(ResizeTree, GnuParallelRunsOverSshGiveTheFilesOfOneRun)
{
    const test::LoopbackSshd server(Path(""));
    if (!server.Started())
        GTEST_SKIP() << "no ssh server could be started here (needs root and openssh-server)";
    const std::vector<std::string> names = TreeOf200();
    for (std::size_t i = 0; i < 20; ++i) Picture("photos/" + names[i * 10], static_cast<unsigned>(i));
    // Absolute paths: a command that ssh starts begins in the home folder.
    std::string command =
        "find " + Quoted("photos") + " -name '*.bmp' -print0 | parallel --will-cite -0 -X -j1 ";
    command.append("--sshlogin ':,")
        .append(server.SshCommand())
        .append("' ")
        .append(SELVANE_RESIZE_PATH)
        .append(" --rule same-width --size 4 --jobs 1 --relative-to ")
        .append(Quoted("photos"))
        .append(" --output ")
        .append(Quoted("spread"))
        .append(" --log-format jsonl > ")
        .append(Quoted("records.jsonl"));
    command.insert(command.find("--sshlogin"), "--joblog " + Quoted("jobs.tsv") + " ");
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    ASSERT_EQ(RunResize("--recursive --rule same-width --size 4 --output " + Quoted("local") + " " +
                        Quoted("photos"))
                  .status,
              0);
    EXPECT_EQ(Files("spread").size(), 20u);
    EXPECT_EQ(Files("spread"), Files("local"));
    EXPECT_EQ(Lines(test::TestSandbox::ReadFile(Path("records.jsonl"))).size(), 20u);
    // Both the share here (":") and the one over ssh ran; the job log's second column is
    // the host.
    const std::string jobs = test::TestSandbox::ReadFile(Path("jobs.tsv"));
    EXPECT_NE(jobs.find("\t:\t"), std::string::npos) << jobs;
    EXPECT_NE(jobs.find("\tssh -p "), std::string::npos) << jobs;
}

}  // namespace
}  // namespace selvane
