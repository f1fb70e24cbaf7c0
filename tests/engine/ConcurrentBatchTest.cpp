// The concurrent batch as the window runs it: pictures handed over in input order with
// what the host kept of each, and an abort that starts nothing new but logs every picture
// that was written.
#include "engine/job/ConcurrentBatch.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>

namespace selvane {
namespace {

class WindowLikeHost : public BatchHost {
public:
    void AppendLog(const std::string& line) override { log.push_back(line); }
    void ShowError(const std::string& text) override { log.push_back("box: " + text); }
    void PictureLoaded(const Raster&, bool) override { ADD_FAILURE() << "the picture must come kept"; }
    void FocusFactorField() override {}
    std::string SourcePath(const std::string& name) override { return folder + name; }
    std::string OutputFolder(const std::string&) override { return folder + "Output/"; }
    JobOptions Options() override { return options; }
    void BeforeFile(const std::string& name) override { handedOver.push_back(name); }
    bool AbortRequested() override
    {
        const std::lock_guard lock(mutex);
        if (abort) {
            abortSeen = true;
            abortAnswered.notify_all();
        }
        return abort;
    }
    std::any KeepPicture(const Raster& picture, bool) override
    {
        // The first picture asks for the abort from inside its job and waits for the batch
        // to take it, so that the batch is stopped while pictures are still to start.
        if (abortInFirstPicture && picture.Width() == 1500) {
            std::unique_lock lock(mutex);
            abort = true;
            abortAnswered.wait(lock, [&] { return abortSeen; });
        }
        return picture.Width();
    }
    void ShowKeptPicture(std::any& kept) override { shownWidths.push_back(std::any_cast<int>(kept)); }

    std::string folder;
    JobOptions options;
    std::vector<std::string> log, handedOver;
    std::vector<int> shownWidths;
    bool abortInFirstPicture = false;
    std::mutex mutex;
    std::condition_variable abortAnswered;
    bool abort = false, abortSeen = false;
};

class ConcurrentBatch : public test::TemporaryFolderTest {
protected:
    void SetUp() override
    {
        host.folder = Folder();
        std::filesystem::create_directory(Path("Output"));
        for (int i = 0; i < 8; ++i) {
            names.push_back(std::string("p").append(std::to_string(i)).append(".bmp"));
            test::WriteBytes(Path(names.back()),
                             test::BmpBytes(test::RandomRaster(1500 + i, 1000, static_cast<unsigned>(i))));
        }
    }
    WindowLikeHost host;
    std::vector<std::string> names;
};

TEST_F(ConcurrentBatch, HandsOverEachPictureInInputOrderWithWhatTheHostKept)
{
    const BatchSummary summary = RunBatchConcurrently(names, host, 2);
    EXPECT_EQ(summary.saved, 8);
    EXPECT_EQ(host.handedOver, names);
    EXPECT_EQ(host.shownWidths, (std::vector<int>{1500, 1501, 1502, 1503, 1504, 1505, 1506, 1507}));
}

TEST_F(ConcurrentBatch, AnAbortStartsNothingNewAndLogsEveryPictureWritten)
{
    host.abortInFirstPicture = true;
    const BatchSummary summary = RunBatchConcurrently(names, host, 2);
    EXPECT_TRUE(summary.aborted);
    EXPECT_LT(summary.saved, 8);
    ASSERT_FALSE(host.log.empty());
    EXPECT_EQ(host.log.back(), "Process aborted.");
    int logged = 0;
    for (const std::string& line : host.log) logged += line.starts_with(kSavedLinePrefix);
    int written = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Path("Output"))) ++written;
    EXPECT_EQ(logged, summary.saved);
    EXPECT_EQ(written, summary.saved);  // no file written without its line
    // The pictures handed over are in input order, whichever finished first.
    EXPECT_TRUE(std::is_sorted(host.handedOver.begin(), host.handedOver.end()));
}

}  // namespace
}  // namespace selvane
