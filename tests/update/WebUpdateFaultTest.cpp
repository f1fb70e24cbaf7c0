// Update servers and machines that misbehave: error statuses, a page body far beyond any
// update page, and a temporary folder that disappears while the update is under way. Each
// check ends with its events and leaves no file behind.
#include "WebUpdateFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace selvane::test {
namespace {

const std::vector<std::string> kFetchFailed = {"BeforeGetInfo", "DownloadError", "AfterGetInfo",
                                               "DownloadError"};

class WebUpdateFaultTest : public WebUpdateFixture {};

class WebUpdateErrorStatusTest : public WebUpdateFixture, public ::testing::WithParamInterface<int> {};

TEST_P(WebUpdateErrorStatusTest, AnErrorInsteadOfThePageIsAFailedFetch)
{
    ScriptedReply reply;
    reply.status = GetParam();
    reply.body = Page("9.9.9.9");  // an error page that happens to hold values is still no page
    server_.Serve("/download-selvane/index.html", reply);

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_, kFetchFailed);
    EXPECT_EQ(update_.Found().Version, "");
}

TEST_P(WebUpdateErrorStatusTest, AnErrorInsteadOfTheDownloadLeavesNoFile)
{
    ServePage(Page("1.5.4.0"));
    ScriptedReply reply;
    reply.status = GetParam();
    reply.body = SetupBytes(3000);
    server_.Serve("/setup.exe", reply);

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_.back(), "DownloadError");
    EXPECT_TRUE(FolderEntries(sandbox_.Temp()).empty());
}

INSTANTIATE_TEST_SUITE_P(Statuses, WebUpdateErrorStatusTest, ::testing::Values(404, 500, 503));

class WebUpdateHugePageTest : public WebUpdateFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(WebUpdateHugePageTest, StopsReadingAFiftyMegabytePageAtTheCap)
{
    ScriptedReply reply;
    reply.body = Page("1.5.4.0") + std::string(50'000'000, ' ');
    reply.withLength = GetParam();
    server_.Serve("/download-selvane/index.html", reply);

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_, kFetchFailed);
    EXPECT_LE(update_.Downloaded(), static_cast<std::int64_t>(TWebUpdate::kMaxPageSize));
    EXPECT_EQ(server_.RequestsFor("/setup.exe"), 0u);
}

INSTANTIATE_TEST_SUITE_P(ContentLength, WebUpdateHugePageTest, ::testing::Bool(),
                         [](const auto& row) { return row.param ? "Announced" : "NotAnnounced"; });

TEST_F(WebUpdateFaultTest, TemporaryFolderRemovedBeforeTheDownloadFailsWithoutAFile)
{
    ServePage(Page("1.5.4.0"));
    ServeSetup(SetupBytes(3000));
    const std::string target = TempPath(kSetupName);
    update_.OnBeforeDownload = [&, record = update_.OnBeforeDownload](const std::string& file) {
        record(file);
        std::filesystem::remove_all(sandbox_.Temp());
    };

    EXPECT_FALSE(update_.RunUpdateCheck());

    // A file that cannot be written ends the transfer without an event of its own.
    EXPECT_EQ(events_, Then(Offered("1.5.4.0"), {"GetClientFileName " + target, "BeforeDownload " + target}));
    EXPECT_FALSE(update_.Busy());
    EXPECT_FALSE(std::filesystem::exists(sandbox_.Temp()));
    EXPECT_TRUE(FolderEntries(sandbox_.Home()).empty());
}

TEST_F(WebUpdateFaultTest, TemporaryFolderRemovedDuringTheDownloadLeavesNothing)
{
    ServePage(Page("1.5.4.0"));
    ServeSetup(SetupBytes(200000));
    bool downloading = false;
    update_.OnBeforeDownload = [&, record = update_.OnBeforeDownload](const std::string& file) {
        record(file);
        downloading = true;
    };
    update_.ProcessMessages = [&] {
        if (downloading) std::filesystem::remove_all(sandbox_.Temp());
    };

    EXPECT_FALSE(update_.RunUpdateCheck());

    const std::string target = TempPath(kSetupName);
    EXPECT_EQ(events_, Then(Offered("1.5.4.0"), {"GetClientFileName " + target, "BeforeDownload " + target}));
    EXPECT_FALSE(std::filesystem::exists(sandbox_.Temp()));
    EXPECT_TRUE(FolderEntries(sandbox_.Home()).empty());
}

}  // namespace
}  // namespace selvane::test
