// Whole checks against a loopback server: what the page says, how it is reached, and every
// way a fetch can fail.
#include "tests/support/CaseName.h"
#include "tests/support/ClosedPort.h"
#include "WebUpdateFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace selvane::test {
namespace {

const std::vector<std::string> kFetchFailed = {"BeforeGetInfo", "DownloadError", "AfterGetInfo",
                                               "DownloadError"};
const std::vector<std::string> kPageIncomplete = {"BeforeGetInfo", "AfterGetInfo", "DownloadError"};
const std::vector<std::string> kNotNewer = {"BeforeGetInfo", "AfterGetInfo", "NoUpdateFound"};

class WebUpdateCheckTest : public WebUpdateFixture {};

TEST_F(WebUpdateCheckTest, DownloadsANewerVersion)
{
    ServePage(Page("1.5.4.0"));
    const std::string setup = SetupBytes(5000);
    ServeSetup(setup);

    EXPECT_TRUE(update_.RunUpdateCheck());

    const std::string target = TempPath(kSetupName);
    EXPECT_EQ(events_, Then(Offered("1.5.4.0"), {"GetClientFileName " + target, "BeforeDownload " + target,
                                                 "AfterDownload " + target}));
    EXPECT_EQ(ReadWholeFile(target), setup);
    EXPECT_EQ(FolderEntries(sandbox_.Temp()), std::vector<std::string>{kSetupName});
    EXPECT_FALSE(update_.Busy());
}

struct VersionCase {
    std::string found;
    bool newer;
};

class WebUpdateVersionTest : public WebUpdateFixture, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(WebUpdateVersionTest, OffersOnlyANewerVersion)
{
    ServePage(Page(GetParam().found));
    // Refusing the offer ends the check before any download.
    update_.OnUpdateAvailable = [this, record = update_.OnUpdateAvailable](
                                    const std::string& actual, const std::string& found, bool& canUpdate) {
        record(actual, found, canUpdate);
        canUpdate = false;
    };

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_, GetParam().newer ? Offered(GetParam().found) : kNotNewer);
    EXPECT_EQ(server_.RequestsFor("/setup.exe"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Versions, WebUpdateVersionTest,
                         ::testing::Values(VersionCase{"1.5.4.0", true}, VersionCase{"1.5.3.57", true},
                                           VersionCase{"1.5.3.56", false}, VersionCase{"1.5.2.99", false}));

TEST_F(WebUpdateCheckTest, ReadsAPageServedWithoutContentLength)
{
    ScriptedReply reply;
    reply.body = Page("1.5.3.56");
    reply.withLength = false;
    server_.Serve("/download-selvane/index.html", reply);

    EXPECT_FALSE(update_.RunUpdateCheck());
    EXPECT_EQ(events_, kNotNewer);
    EXPECT_EQ(update_.Found().ProductName, "Selvane Image Resizer");
}

TEST_F(WebUpdateCheckTest, ReportsEveryReceivedChunkOfThePage)
{
    // Long enough for several chunks; comments pad the page like a real one.
    const std::string page = Page("1.5.3.56", kSetupName, std::string(5000, ' '));
    ServePage(page);

    update_.RunUpdateCheck();

    ASSERT_FALSE(progress_.empty());
    std::int64_t previous = 0;
    for (const auto& [total, downloaded] : progress_) {
        EXPECT_EQ(total, static_cast<std::int64_t>(page.size()));
        EXPECT_GT(downloaded, previous);
        EXPECT_LE(downloaded - previous, 1025);
        previous = downloaded;
    }
    EXPECT_EQ(previous, static_cast<std::int64_t>(page.size()));
}

struct IncompleteCase {
    const char* name;
    std::string page;
    std::vector<std::string> events;
};

class WebUpdateIncompletePageTest : public WebUpdateFixture,
                                    public ::testing::WithParamInterface<IncompleteCase> {};

TEST_P(WebUpdateIncompletePageTest, NeedsAProductNameAndAVersion)
{
    ServePage(GetParam().page);
    EXPECT_FALSE(update_.RunUpdateCheck());
    EXPECT_EQ(events_, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, WebUpdateIncompletePageTest,
    ::testing::Values(IncompleteCase{"EmptyPage", "", kFetchFailed},
                      IncompleteCase{"NoProductName", Meta("TessaroVersion", "2.0"), kPageIncomplete},
                      IncompleteCase{"NoVersion", Meta("TessaroProduct", "Selvane"), kPageIncomplete},
                      IncompleteCase{"EmptyVersion",
                                     Meta("TessaroProduct", "Selvane") + "\n" + Meta("TessaroVersion", ""),
                                     kPageIncomplete},
                      IncompleteCase{"TooLongToBeAnUpdatePage",
                                     Meta("TessaroProduct", "Selvane") + "\n" +
                                         Meta("TessaroVersion", "2.0") +
                                         std::string(TWebUpdate::kMaxPageSize, ' '),
                                     kFetchFailed}),
    test::CaseName);

TEST_F(WebUpdateCheckTest, KeepsTheLastPageReadAfterAFailedFetch)
{
    ServePage("<html>\r\n" + Meta("TessaroProduct", "Selvane") + "\r\n" +
              Meta("TessaroVersion", kCurrentVersion) + "\r\n</html>");
    update_.RunUpdateCheck();
    const std::vector<std::string> lines = update_.InfoLines();
    ASSERT_EQ(lines.size(), 4u);

    ScriptedReply gone;
    gone.status = 404;
    server_.Serve("/download-selvane/index.html", gone);
    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(update_.InfoLines(), lines);
    EXPECT_EQ(update_.Found().ProductName, "") << "the found values are cleared all the same";
}

TEST_F(WebUpdateCheckTest, CountsAnErrorPageAsAFailedFetch)
{
    // Nothing is served at the page's address, so the server answers 404 with a page.
    EXPECT_FALSE(update_.RunUpdateCheck());
    EXPECT_EQ(events_, kFetchFailed);
}

TEST_F(WebUpdateCheckTest, FailsWhenNothingListens)
{
    const ClosedPort closed;
    update_.ProductInfo.SetURL(closed.Url("/download-selvane/index.html"));
    EXPECT_FALSE(update_.RunUpdateCheck());
    EXPECT_EQ(events_, kFetchFailed);
}

TEST_F(WebUpdateCheckTest, GivesUpOnAServerThatNeverAnswers)
{
    ScriptedReply reply;
    reply.neverAnswer = true;
    server_.Serve("/download-selvane/index.html", reply);
    EXPECT_FALSE(update_.RunUpdateCheck());
    EXPECT_EQ(events_, kFetchFailed);
}

TEST_F(WebUpdateCheckTest, GivesUpOnAPageThatTricklesPastItsDeadline)
{
    ScriptedReply reply;
    reply.body = Page("9.9.9.9", kSetupName) + std::string(2000, ' ');
    reply.trickleBytes = 3;
    reply.tricklePause = std::chrono::milliseconds(100);
    server_.Serve("/download-selvane/index.html", reply);
    EXPECT_FALSE(update_.RunUpdateCheck());
    EXPECT_EQ(events_, kFetchFailed);
}

TEST_F(WebUpdateCheckTest, ReadsTheRedirectedPageInstead)
{
    ServePage(Page("9.9.9.9", kSetupName, Meta("TessaroRedirection", server_.Url("/mirror/index.html"))));
    ServePage(Meta("TessaroProduct", "Mirror") + "\n" + Meta("TessaroVersion", "1.5.3.56"),
              "/mirror/index.html");

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_, kNotNewer);
    EXPECT_EQ(update_.Found().ProductName, "Mirror");
    EXPECT_EQ(update_.Found().Download, "") << "only the last page's values count";
    EXPECT_EQ(server_.RequestsFor("/mirror/index.html"), 1u);
}

TEST_F(WebUpdateCheckTest, EndsAPageThatRedirectsToItself)
{
    ServePage(
        Page("1.5.4.0", kSetupName, Meta("TessaroRedirection", server_.Url("/download-selvane/index.html"))));

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_, kFetchFailed);
    EXPECT_EQ(server_.RequestsFor("/download-selvane/index.html"), 1u + TWebUpdate::kMaxPageRedirections);
}

TEST_F(WebUpdateCheckTest, FollowsAnHttpRedirection)
{
    ScriptedReply moved;
    moved.status = 301;
    moved.headers = {"Location: /new/index.html"};
    server_.Serve("/download-selvane/index.html", moved);
    ServePage(Page("1.5.3.56"), "/new/index.html");

    EXPECT_FALSE(update_.RunUpdateCheck());
    EXPECT_EQ(events_, kNotNewer);
}

TEST_F(WebUpdateCheckTest, KeepsAQueryThatHoldsAnAddress)
{
    const std::string path = "/download-selvane/index.html?from=http://elsewhere.example/x";
    ServePage(Page("1.5.3.56"), path);
    update_.ProductInfo.SetURL(server_.Url(path));

    EXPECT_FALSE(update_.RunUpdateCheck());
    EXPECT_EQ(events_, kNotNewer);
    EXPECT_EQ(server_.RequestsFor(path), 1u);
}

TEST_F(WebUpdateCheckTest, FetchesAnAddressWithoutSchemeOverHttp)
{
    ServePage(Page("1.5.3.56"));
    update_.ProductInfo.SetURL(server_.Authority() + "/download-selvane/index.html");
    EXPECT_FALSE(update_.RunUpdateCheck());
    EXPECT_EQ(events_.back(), "NoUpdateFound");
}

TEST_F(WebUpdateCheckTest, KeepsHttpsAndItsPort)
{
    update_.ProductInfo.SetURL("https://" + server_.Authority() + "/download-selvane/index.html");

    EXPECT_FALSE(update_.RunUpdateCheck());

    EXPECT_EQ(events_, kFetchFailed);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_FALSE(requests[0].raw.empty());
    EXPECT_EQ(requests[0].raw[0], '\x16') << "expected a TLS handshake on the given port";
}

TEST_F(WebUpdateCheckTest, CannotFetchAnAddressWithoutPath)
{
    ServePage(Page("1.5.4.0"));
    update_.ProductInfo.SetURL(server_.Url(""));
    EXPECT_FALSE(update_.RunUpdateCheck());
    EXPECT_EQ(events_, kFetchFailed);
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(WebUpdateCheckTest, SendsTheCredentials)
{
    ServePage(Page("1.5.3.56"));
    update_.UserName = "user";
    update_.Password = "secret";
    update_.RunUpdateCheck();
    EXPECT_EQ(server_.Requests().at(0).Header("Authorization"), "Basic dXNlcjpzZWNyZXQ=");
}

TEST_F(WebUpdateCheckTest, RefusesASecondCheckWhileOneRuns)
{
    ServePage(Page("1.5.3.56"));
    std::vector<bool> nested;
    update_.ProcessMessages = [&] {
        EXPECT_TRUE(update_.Busy());
        nested.push_back(update_.RunUpdateCheck());
    };

    EXPECT_FALSE(update_.RunUpdateCheck());

    ASSERT_FALSE(nested.empty());
    EXPECT_EQ(nested, std::vector<bool>(nested.size(), false));
    EXPECT_EQ(events_, kNotNewer);
    EXPECT_EQ(server_.Requests().size(), 1u);
    EXPECT_FALSE(update_.Busy());
}

TEST_F(WebUpdateCheckTest, AbortedPageFetchFiresNoTransferError)
{
    ServePage(Page("1.5.4.0", kSetupName, std::string(20000, ' ')));
    update_.ProcessMessages = [&] { update_.AbortTransfer(); };

    EXPECT_FALSE(update_.RunUpdateCheck());

    // Only the check itself complains: the aborted page gave no values.
    EXPECT_EQ(events_, kPageIncomplete);
    EXPECT_EQ(progress_.size(), 1u);
}

}  // namespace
}  // namespace selvane::test
