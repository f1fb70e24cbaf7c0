// Downloads after a newer version was found: where the file goes, what happens to a file
// already there, and how a failed, short or aborted transfer leaves the disk.
#include "tests/support/CaseName.h"
#include "WebUpdateFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace selvane::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNewVersion = "1.5.4.0";

class WebUpdateDownloadTest : public WebUpdateFixture {
protected:
    WebUpdateDownloadTest() { ServePage(Page(kNewVersion)); }

    // The events of a check whose download into target started.
    std::vector<std::string> Started(const std::string& target) const
    {
        return Then(Offered(kNewVersion), {"GetClientFileName " + target, "BeforeDownload " + target});
    }
};

TEST_F(WebUpdateDownloadTest, ReportsEveryChunkOfTheDownload)
{
    const std::string setup = SetupBytes(10000);
    ServeSetup(setup);
    std::size_t pageChunks = 0;
    update_.OnBeforeDownload = [&](const std::string&) { pageChunks = progress_.size(); };

    ASSERT_TRUE(update_.RunUpdateCheck());

    ASSERT_GT(progress_.size(), pageChunks);
    std::int64_t previous = 0;
    for (std::size_t i = pageChunks; i < progress_.size(); ++i) {
        EXPECT_EQ(progress_[i].first, 10000);
        EXPECT_GT(progress_[i].second, previous);
        EXPECT_LE(progress_[i].second - previous, 1025);
        previous = progress_[i].second;
    }
    EXPECT_EQ(previous, 10000);
    EXPECT_EQ(update_.Total(), 10000);
    EXPECT_EQ(update_.Downloaded(), 10000);
}

struct FailureCase {
    const char* name;
    ScriptedReply setup;
    bool reported;  // OnDownloadError fires (a local error fires nothing of its own)
};

ScriptedReply Setup(std::size_t size, void (*adjust)(ScriptedReply&))
{
    ScriptedReply reply;
    reply.body = SetupBytes(size);
    adjust(reply);
    return reply;
}

class WebUpdateDownloadFailureTest : public WebUpdateDownloadTest,
                                     public ::testing::WithParamInterface<FailureCase> {};

TEST_P(WebUpdateDownloadFailureTest, LeavesNoFileBehind)
{
    server_.Serve("/setup.exe", GetParam().setup);

    EXPECT_FALSE(update_.RunUpdateCheck());

    std::vector<std::string> expected = Started(TempPath(kSetupName));
    if (GetParam().reported) expected.push_back("DownloadError");
    EXPECT_EQ(events_, expected);
    EXPECT_TRUE(FolderEntries(sandbox_.Temp()).empty());
    EXPECT_EQ(server_.RequestsFor("/setup.exe"), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, WebUpdateDownloadFailureTest,
    ::testing::Values(FailureCase{"WithoutContentLength",
                                  Setup(3000, [](ScriptedReply& r) { r.withLength = false; }), true},
                      FailureCase{"Short", Setup(5000, [](ScriptedReply& r) { r.bytesSent = 3000; }), true},
                      FailureCase{"ErrorStatus", Setup(3000, [](ScriptedReply& r) { r.status = 404; }), true},
                      FailureCase{"NeverAnswered", Setup(0, [](ScriptedReply& r) { r.neverAnswer = true; }),
                                  true},
                      // Never silent long enough to stall, far below the floor on the rate.
                      FailureCase{"Trickled",
                                  Setup(3000,
                                        [](ScriptedReply& r) {
                                            r.trickleBytes = 3;
                                            r.tricklePause = std::chrono::milliseconds(100);
                                        }),
                                  true},
                      FailureCase{"ContentLengthNotANumber",
                                  Setup(3000, [](ScriptedReply& r) { r.contentLength = "3k"; }), false}),
    test::CaseName);

// Only the announced length is large here (the body is short, so both downloads fail):
// above the cap not one byte is taken, at the cap the download starts.
TEST_F(WebUpdateDownloadTest, RefusesADownloadAnnouncedLargerThanAnySetup)
{
    for (const std::int64_t announced : {TWebUpdate::kMaxDownloadSize + 1, TWebUpdate::kMaxDownloadSize}) {
        SCOPED_TRACE(announced);
        ScriptedReply reply;
        reply.body = SetupBytes(3000);
        reply.contentLength = std::to_string(announced);
        server_.Serve("/setup.exe", reply);
        events_.clear();

        EXPECT_FALSE(update_.RunUpdateCheck());

        EXPECT_EQ(events_.back(), "DownloadError");
        EXPECT_EQ(update_.Downloaded(), announced > TWebUpdate::kMaxDownloadSize ? 0 : 3000);
        EXPECT_TRUE(FolderEntries(sandbox_.Temp()).empty());
    }
}

TEST_F(WebUpdateDownloadTest, ShortDownloadLeavesTheEarlierFileAlone)
{
    const std::string target = TempPath(kSetupName);
    WriteWholeFile(target, "earlier setup");
    ScriptedReply setup;
    setup.body = SetupBytes(5000);
    setup.bytesSent = 3000;
    server_.Serve("/setup.exe", setup);

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_.back(), "DownloadError");
    EXPECT_EQ(ReadWholeFile(target), "earlier setup");
    EXPECT_EQ(FolderEntries(sandbox_.Temp()), std::vector<std::string>{kSetupName});
}

TEST_F(WebUpdateDownloadTest, KeepsAnExistingFileWhenOverwriteEndsFalse)
{
    update_.Options = {};
    const std::string target = TempPath(kSetupName);
    WriteWholeFile(target, "earlier setup");
    ServeSetup(SetupBytes(3000));

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_, Then(Offered(kNewVersion), {"GetClientFileName " + target,
                                                   "ClientFileExists " + target + " keep", "DownloadError"}));
    EXPECT_EQ(ReadWholeFile(target), "earlier setup");
    EXPECT_EQ(server_.RequestsFor("/setup.exe"), 0u);
}

TEST_F(WebUpdateDownloadTest, CountsADanglingLinkAsAnExistingFile)
{
    update_.Options = {};
    const std::string target = TempPath(kSetupName);
    const fs::path elsewhere = sandbox_.Home() / "not-yet-there";
    fs::create_symlink(elsewhere, target);
    ServeSetup(SetupBytes(3000));

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_.back(), "DownloadError");
    EXPECT_FALSE(fs::exists(elsewhere));
}

TEST_F(WebUpdateDownloadTest, ReplacesAnExistingFileWhenOverwriteStaysTrue)
{
    const std::string target = TempPath(kSetupName);
    WriteWholeFile(target, "earlier setup");
    const std::string setup = SetupBytes(3000);
    ServeSetup(setup);

    EXPECT_TRUE(update_.RunUpdateCheck());

    EXPECT_EQ(events_, Then(Offered(kNewVersion),
                            {"GetClientFileName " + target, "ClientFileExists " + target + " overwrite",
                             "BeforeDownload " + target, "AfterDownload " + target}));
    EXPECT_EQ(ReadWholeFile(target), setup);
}

TEST_F(WebUpdateDownloadTest, DownloadsWhereTheExistsHandlerMovesTheFile)
{
    const std::string target = TempPath(kSetupName);
    WriteWholeFile(target, "earlier setup");
    const fs::path updates = sandbox_.Home() / "Updates";
    const std::string moved = (updates / kSetupName).string();
    update_.OnClientFileExists = [&, record = update_.OnClientFileExists](std::string& fileName,
                                                                          bool& overwrite) {
        record(fileName, overwrite);
        fs::create_directory(updates);
        fileName = moved;
    };
    const std::string setup = SetupBytes(3000);
    ServeSetup(setup);

    EXPECT_TRUE(update_.RunUpdateCheck());

    EXPECT_EQ(events_, Then(Offered(kNewVersion),
                            {"GetClientFileName " + target, "ClientFileExists " + target + " overwrite",
                             "BeforeDownload " + moved, "AfterDownload " + moved}));
    EXPECT_EQ(ReadWholeFile(moved), setup);
    EXPECT_EQ(ReadWholeFile(target), "earlier setup");
    EXPECT_EQ(update_.ClientFile(), moved);
}

TEST_F(WebUpdateDownloadTest, DownloadsWhereTheFileNameHandlerSays)
{
    const std::string chosen = (sandbox_.Home() / "chosen.bin").string();
    update_.OnGetClientFileName = [&](std::string& fileName) { fileName = chosen; };
    const std::string setup = SetupBytes(2000);
    ServeSetup(setup);

    EXPECT_TRUE(update_.RunUpdateCheck());

    EXPECT_EQ(ReadWholeFile(chosen), setup);
    EXPECT_TRUE(FolderEntries(sandbox_.Temp()).empty());
}

TEST_F(WebUpdateDownloadTest, FileThatCannotBeCreatedFailsWithoutAnEventOfItsOwn)
{
    const std::string unreachable = (sandbox_.Home() / "missing" / kSetupName).string();
    update_.OnGetClientFileName = [&](std::string& fileName) { fileName = unreachable; };
    ServeSetup(SetupBytes(2000));

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_.back(), "BeforeDownload " + unreachable);
    EXPECT_FALSE(fs::exists(sandbox_.Home() / "missing"));
}

struct NameCase {
    std::string fromPage;
    std::optional<std::string> local;  // nothing: the download is refused
};

class WebUpdateClientNameTest : public WebUpdateFixture, public ::testing::WithParamInterface<NameCase> {};

TEST_P(WebUpdateClientNameTest, WritesOnlyIntoTheDownloadFolder)
{
    ServePage(Page(kNewVersion, GetParam().fromPage));
    const std::string setup = SetupBytes(1500);
    ServeSetup(setup);

    const bool downloaded = update_.RunUpdateCheck();

    if (GetParam().local) {
        EXPECT_TRUE(downloaded);
        EXPECT_EQ(FolderEntries(sandbox_.Temp()), std::vector<std::string>{*GetParam().local});
        EXPECT_EQ(ReadWholeFile(sandbox_.Temp() / *GetParam().local), setup);
    } else {
        EXPECT_FALSE(downloaded);
        EXPECT_EQ(events_, Then(Offered(kNewVersion), {"DownloadError"}));
        EXPECT_EQ(server_.RequestsFor("/setup.exe"), 0u);
        EXPECT_TRUE(FolderEntries(sandbox_.Temp()).empty());
    }
    EXPECT_TRUE(FolderEntries(sandbox_.Home()).empty());
}

INSTANTIATE_TEST_SUITE_P(Names, WebUpdateClientNameTest,
                         ::testing::Values(NameCase{"../home/.config/autostart/evil.desktop", "evil.desktop"},
                                           NameCase{"/etc/evil.sh", "evil.sh"},
                                           NameCase{"..\\..\\Startup\\evil.exe", "evil.exe"},
                                           NameCase{"", std::nullopt}, NameCase{".", std::nullopt},
                                           NameCase{"..", std::nullopt}, NameCase{"../..", std::nullopt}));

TEST_F(WebUpdateDownloadTest, AbortStopsTheDownloadAndLeavesNothing)
{
    ServeSetup(SetupBytes(200000));
    bool downloading = false;
    std::size_t pageChunks = 0;
    update_.OnBeforeDownload = [&, record = update_.OnBeforeDownload](const std::string& file) {
        record(file);
        downloading = true;
        pageChunks = progress_.size();
    };
    update_.ProcessMessages = [&] {
        if (downloading) update_.AbortTransfer();
    };

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_, Started(TempPath(kSetupName)));
    EXPECT_EQ(progress_.size(), pageChunks + 1);
    EXPECT_TRUE(FolderEntries(sandbox_.Temp()).empty());
}

struct RunCase {
    const char* name;
    TUpdateOptions options;
    std::optional<bool> started;  // what RunFile answers; nothing: no RunFile installed
    bool runAttempted;
    bool cannotExecute;
    bool terminated;
};

class WebUpdateRunTest : public WebUpdateDownloadTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(WebUpdateRunTest, StartsTheDownloadOnlyWhenAsked)
{
    const RunCase& c = GetParam();
    ServePage(Page(kNewVersion, kSetupName, Meta("TessaroRunParameters", "/silent")));
    ServeSetup(SetupBytes(1000));
    update_.Options = c.options;
    std::vector<std::string> runs;
    if (c.started)
        update_.RunFile = [&](const std::string& file, const std::string& parameters) {
            runs.push_back(file + " " + parameters);
            return *c.started;
        };
    bool terminated = false;
    update_.TerminateApplication = [&] { terminated = true; };

    EXPECT_TRUE(update_.RunUpdateCheck());

    EXPECT_EQ(runs.size(), c.started && c.runAttempted ? 1u : 0u);
    if (!runs.empty()) {
        EXPECT_EQ(runs[0], TempPath(kSetupName) + " /silent");
    }
    EXPECT_EQ(events_.back() == "CannotExecute", c.cannotExecute);
    EXPECT_EQ(terminated, c.terminated);
}

using enum TUpdateOption;

INSTANTIATE_TEST_SUITE_P(
    Options, WebUpdateRunTest,
    ::testing::Values(RunCase{"OverwriteAlone", {uoOverwrite}, true, false, false, false},
                      RunCase{"RunStarts", {uoRunUpdate}, true, true, false, false},
                      RunCase{"RunFails", {uoRunUpdate}, false, true, true, false},
                      RunCase{"RunWithoutStarter", {uoRunUpdate}, std::nullopt, true, true, false},
                      RunCase{"RunAndTerminate", {uoRunUpdate, uoTerminate}, true, true, false, true},
                      RunCase{"RunFailsStillTerminates", {uoRunUpdate, uoTerminate}, false, true, true, true},
                      RunCase{"TerminateAlone", {uoTerminate}, true, false, false, false}),
    test::CaseName);

}  // namespace
}  // namespace selvane::test
