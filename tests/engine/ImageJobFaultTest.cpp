// Faults a person meets while a batch runs: an output folder the job cannot write into,
// and a picture that is gone (or no longer a picture) by the time its turn comes. Each
// ends in the job's own message, the batch goes on, and no file is lost or half-written.
#include "engine/job/BatchJob.h"
#include "engine/job/ImageJob.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRasters.h"

#include "tests/support/CaseName.h"
#include "tests/support/RunUnprivileged.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace selvane {
namespace {

namespace fs = std::filesystem;
using selvane::test::RunUnprivileged;
using selvane::test::TestSandbox;

// Records what the job reports; runs every name of the batch from one folder.
class RecordingBatchHost : public BatchHost {
public:
    void AppendLog(const std::string& line) override { log.push_back(line); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void PictureLoaded(const Raster&, bool) override {}
    void FocusFactorField() override {}
    std::string SourcePath(const std::string& name) override { return folder + name; }
    std::string OutputFolder(const std::string&) override { return output; }
    JobOptions Options() override { return {}; }
    void BeforeFile(const std::string& name) override
    {
        if (beforeFile) beforeFile(folder + name);
    }
    bool AbortRequested() override { return false; }

    std::string folder;
    std::string output;
    std::function<void(const std::string& path)> beforeFile;
    std::vector<std::string> log, errors;
};

class ImageJobFaultTest : public ::testing::Test {
protected:
    ImageJobFaultTest()
    {
        host_.folder = sandbox_.Root().string() + "/";
        host_.output = host_.folder + "Output/";
    }

    void PutPicture(const std::string& name) const
    {
        test::WriteBytes(host_.folder + name, test::BmpBytes(test::RandomRaster(8, 6, 5)));
    }

    TestSandbox sandbox_;
    RecordingBatchHost host_;
};

struct OutputFault {
    const char* name;
    // Sets up the output folder (or what stands in its place), as root.
    std::function<void(const fs::path& output)> prepare;
};

class ImageJobOutputFaultTest : public ImageJobFaultTest,
                                public ::testing::WithParamInterface<OutputFault> {};

TEST_P(ImageJobOutputFaultTest, SaysItCannotSaveAndKeepsWhatWasThere)
{
    PutPicture("photo.bmp");
    GetParam().prepare(sandbox_.Root() / "Output");
    const auto before = TestSandbox::Names(sandbox_.Root());

    // As root, file modes refuse nothing: the job runs as an unprivileged user.
    const std::string outcome = RunUnprivileged([&] {
        const JobResult result = ProcessImage(host_.folder + "photo.bmp", host_.output, {}, host_);
        std::string text = result.SavedPath.empty() ? "not saved" : "saved";
        for (const std::string& line : host_.log) text += "\nlog: " + line;
        for (const std::string& error : host_.errors) text += "\nbox: " + error;
        return text;
    });

    const std::string message = "Cannot save file as: " + host_.output + "photo.jpg";
    EXPECT_EQ(outcome, "not saved\nlog: " + message + "\nbox: " + message);
    EXPECT_EQ(TestSandbox::Names(sandbox_.Root()), before);
    if (fs::is_directory(host_.output)) {
        EXPECT_EQ(TestSandbox::Names(host_.output), std::set<std::string>{"photo.jpg"});
        EXPECT_EQ(TestSandbox::ReadFile(host_.output + "photo.jpg"), "earlier output");
    } else {
        EXPECT_EQ(TestSandbox::ReadFile(sandbox_.Root() / "Output"), "a file, not a folder");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ImageJobOutputFaultTest,
    ::testing::Values(OutputFault{"ReadOnlyFolderWithAnEarlierOutput",
                                  [](const fs::path& output) {
                                      TestSandbox::WriteFile(output / "photo.jpg", "earlier output");
                                      fs::permissions(output, fs::perms(0555));
                                  }},
                      OutputFault{"ReadOnlyEarlierOutputInAWritableFolder",
                                  [](const fs::path& output) {
                                      TestSandbox::WriteFile(output / "photo.jpg", "earlier output");
                                      fs::permissions(output / "photo.jpg", fs::perms(0444));
                                      fs::permissions(output, fs::perms(0777));
                                  }},
                      OutputFault{"FileInPlaceOfTheFolder",
                                  [](const fs::path& output) {
                                      TestSandbox::WriteFile(output, "a file, not a folder");
                                  }}),
    test::CaseName);

struct SourceFault {
    const char* name;
    std::function<void(const std::string& path)> apply;  // between listing and the job
};

class ImageJobSourceFaultTest : public ImageJobFaultTest,
                                public ::testing::WithParamInterface<SourceFault> {};

TEST_P(ImageJobSourceFaultTest, LogsThePictureItCannotOpenAndGoesOn)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) PutPicture(name);
    fs::create_directory(host_.output);
    host_.beforeFile = [apply = GetParam().apply](const std::string& path) {
        if (path.ends_with("/b.bmp")) apply(path);
    };

    const BatchSummary summary = RunBatch({"a.bmp", "b.bmp", "c.bmp"}, host_);

    EXPECT_EQ(summary.saved, 2);
    EXPECT_EQ(summary.notSaved, 1);
    const std::vector<std::string> lines(host_.log.begin() + 5, host_.log.end());  // after the header
    EXPECT_EQ(lines, (std::vector<std::string>{kSavedLinePrefix + host_.output + "a.jpg",
                                               "ERROR! Cannot open picture: " + host_.folder + "b.bmp",
                                               kSavedLinePrefix + host_.output + "c.jpg"}));
    EXPECT_TRUE(host_.errors.empty());
    EXPECT_EQ(TestSandbox::Names(host_.output), (std::set<std::string>{"a.jpg", "c.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, ImageJobSourceFaultTest,
    ::testing::Values(SourceFault{"Deleted", [](const std::string& path) { fs::remove(path); }},
                      SourceFault{"ReplacedByAFolder",
                                  [](const std::string& path) {
                                      fs::remove(path);
                                      fs::create_directory(path);
                                  }},
                      SourceFault{"ReplacedByAPipe",
                                  [](const std::string& path) {
                                      fs::remove(path);
                                      mkfifo(path.c_str(), 0644);
                                  }},
                      SourceFault{"Emptied", [](const std::string& path) { fs::resize_file(path, 0); }},
                      SourceFault{"CutInHalf", [](const std::string& path) { fs::resize_file(path, 100); }}),
    test::CaseName);

}  // namespace
}  // namespace selvane
