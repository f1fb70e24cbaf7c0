#include "platform/HttpTransfer.h"

#include "tests/support/ClosedPort.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSandbox.h"
#include "tests/support/UpdateTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace selvane::test {
namespace {

using namespace std::chrono_literals;
using platform::HttpGet;
using platform::HttpOutcome;
using platform::HttpRequest;
using platform::HttpResponseHead;
using platform::kHttpChunkSize;

// Keeps what arrives; stops after stopAfterPieces pieces when that is set.
class Collector : public platform::HttpReceiver {
public:
    bool Begin(const HttpResponseHead& received) override
    {
        head = received;
        return true;
    }
    bool Receive(std::string_view piece) override
    {
        pieces.push_back(piece.size());
        body += piece;
        return !stopAfterPieces || pieces.size() < *stopAfterPieces;
    }

    std::optional<HttpResponseHead> head;
    std::vector<std::size_t> pieces;
    std::string body;
    std::optional<std::size_t> stopAfterPieces;
};

ScriptedReply Body(std::string body)
{
    ScriptedReply reply;
    reply.body = std::move(body);
    return reply;
}

ScriptedReply RedirectTo(const std::string& location)
{
    ScriptedReply reply;
    reply.status = 302;
    reply.headers = {"Location: " + location};
    reply.body = "<html>moved</html>";  // must not reach the receiver
    return reply;
}

class HttpTransferTest : public ::testing::Test {
protected:
    HttpTransferTest() { sandbox_.RedirectTemp(); }

    HttpRequest Request(const std::string& url) const
    {
        HttpRequest request;
        request.url = url;
        request.stallTimeout = 1s;
        return request;
    }

    TestSandbox sandbox_;
    LoopbackHttpServer server_;
    Collector collector_;
};

TEST_F(HttpTransferTest, SendsAnHttp10GetWithTheUpdaterHeaders)
{
    server_.Serve("/page", Body("x"));
    HttpRequest request = Request(server_.Url("/page"));
    request.userName = "user";
    request.password = "secret";
    ASSERT_EQ(HttpGet(request, collector_).outcome, HttpOutcome::Completed);

    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const RecordedRequest& sent = requests[0];
    EXPECT_EQ(sent.requestLine, "GET /page HTTP/1.0");
    EXPECT_EQ(sent.Header("User-Agent"), "TWebUpdate");
    EXPECT_EQ(sent.Header("Accept"), "*/*");
    EXPECT_EQ(sent.Header("Pragma"), "no-cache");
    EXPECT_EQ(sent.Header("Cache-Control"), "no-cache");
    EXPECT_EQ(sent.Header("Host"), server_.Authority());
    EXPECT_EQ(sent.Header("Authorization"), "Basic dXNlcjpzZWNyZXQ=");  // user:secret
}

TEST_F(HttpTransferTest, SendsNoCredentialsWithoutAUserName)
{
    server_.Serve("/page", Body("x"));
    ASSERT_EQ(HttpGet(Request(server_.Url("/page")), collector_).outcome, HttpOutcome::Completed);
    EXPECT_EQ(server_.Requests().at(0).Header("Authorization"), std::nullopt);
}

TEST_F(HttpTransferTest, DeliversTheBodyInPiecesOfAtMost1025Bytes)
{
    const std::string body = SetupBytes(20000);
    server_.Serve("/file", Body(body));
    ASSERT_EQ(HttpGet(Request(server_.Url("/file")), collector_).outcome, HttpOutcome::Completed);

    EXPECT_EQ(collector_.body, body);
    EXPECT_LE(*std::max_element(collector_.pieces.begin(), collector_.pieces.end()), kHttpChunkSize);
    ASSERT_TRUE(collector_.head);
    EXPECT_EQ(collector_.head->status, 200);
    EXPECT_EQ(collector_.head->contentLength, "20000");
}

TEST_F(HttpTransferTest, ReadsABodyWithoutContentLengthToTheEnd)
{
    ScriptedReply reply = Body(SetupBytes(3000));
    reply.withLength = false;
    server_.Serve("/file", reply);
    ASSERT_EQ(HttpGet(Request(server_.Url("/file")), collector_).outcome, HttpOutcome::Completed);
    EXPECT_EQ(collector_.body, reply.body);
    EXPECT_EQ(collector_.head->contentLength, std::nullopt);
}

TEST_F(HttpTransferTest, TellsTheReceiverAboutAnEmptyBody)
{
    server_.Serve("/empty", Body(""));
    ASSERT_EQ(HttpGet(Request(server_.Url("/empty")), collector_).outcome, HttpOutcome::Completed);
    ASSERT_TRUE(collector_.head);
    EXPECT_EQ(collector_.head->contentLength, "0");
    EXPECT_TRUE(collector_.pieces.empty());
}

TEST_F(HttpTransferTest, PassesAnErrorStatusOnToTheReceiver)
{
    ASSERT_EQ(HttpGet(Request(server_.Url("/missing")), collector_).outcome, HttpOutcome::Completed);
    EXPECT_EQ(collector_.head->status, 404);
}

TEST_F(HttpTransferTest, StopsAfterThePieceTheReceiverRefuses)
{
    server_.Serve("/file", Body(SetupBytes(200000)));
    collector_.stopAfterPieces = 1;
    EXPECT_EQ(HttpGet(Request(server_.Url("/file")), collector_).outcome, HttpOutcome::Stopped);
    EXPECT_EQ(collector_.pieces.size(), 1u);
}

TEST_F(HttpTransferTest, RethrowsWhatTheReceiverThrows)
{
    class Throwing : public Collector {
        bool Receive(std::string_view) override { throw std::runtime_error("disk full"); }
    } throwing;
    server_.Serve("/file", Body("data"));
    EXPECT_THROW(HttpGet(Request(server_.Url("/file")), throwing), std::runtime_error);
}

TEST_F(HttpTransferTest, FollowsRedirectionsUpToTheBound)
{
    // /hop0 -> /hop1 -> ... -> /hopN, which holds the body.
    const auto chain = [&](int hops) {
        const std::string prefix = "/chain" + std::to_string(hops) + "-";
        for (int i = 0; i < hops; ++i)
            server_.Serve(prefix + std::to_string(i), RedirectTo(prefix + std::to_string(i + 1)));
        server_.Serve(prefix + std::to_string(hops), Body("arrived"));
        return server_.Url(prefix + "0");
    };

    Collector followed;
    EXPECT_EQ(HttpGet(Request(chain(platform::kHttpMaxRedirections)), followed).outcome,
              HttpOutcome::Completed);
    EXPECT_EQ(followed.body, "arrived");

    Collector tooFar;
    EXPECT_EQ(HttpGet(Request(chain(platform::kHttpMaxRedirections + 1)), tooFar).outcome,
              HttpOutcome::Failed);
    EXPECT_FALSE(tooFar.head);
}

TEST_F(HttpTransferTest, EndsARedirectionLoop)
{
    server_.Serve("/loop", RedirectTo("/loop"));
    EXPECT_EQ(HttpGet(Request(server_.Url("/loop")), collector_).outcome, HttpOutcome::Failed);
    EXPECT_EQ(server_.RequestsFor("/loop"), 1u + platform::kHttpMaxRedirections);
}

TEST_F(HttpTransferTest, FetchesOnlyHttpAndHttps)
{
    const std::string local = (sandbox_.Root() / "secret.txt").string();
    server_.Serve("/to-file", RedirectTo("file://" + local));
    for (const std::string& url :
         {"file://" + local, "ftp://" + server_.Authority() + "/x", server_.Url("/to-file")}) {
        Collector collector;
        EXPECT_EQ(HttpGet(Request(url), collector).outcome, HttpOutcome::Failed) << url;
        EXPECT_FALSE(collector.head) << url;
    }
}

TEST_F(HttpTransferTest, FailsAShortBody)
{
    ScriptedReply reply = Body(SetupBytes(5000));
    reply.bytesSent = 3000;
    server_.Serve("/short", reply);
    EXPECT_EQ(HttpGet(Request(server_.Url("/short")), collector_).outcome, HttpOutcome::Failed);
}

TEST_F(HttpTransferTest, FailsWhenTheServerNeverAnswers)
{
    ScriptedReply reply;
    reply.neverAnswer = true;
    server_.Serve("/silent", reply);
    const auto result = HttpGet(Request(server_.Url("/silent")), collector_);
    EXPECT_EQ(result.outcome, HttpOutcome::Failed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(server_.RequestsFor("/silent"), 1u);
}

// A server that sends a little now and then never stalls; the deadline and the floor on
// the average rate end it all the same, and a slow but steady line still finishes.
TEST_F(HttpTransferTest, EndsATransferThatIsTooSlowOnTheWhole)
{
    ScriptedReply trickle = Body(SetupBytes(600));
    trickle.trickleBytes = 3;
    trickle.tricklePause = 100ms;
    server_.Serve("/trickle", trickle);
    HttpRequest withDeadline = Request(server_.Url("/trickle"));
    withDeadline.deadline = 1s;
    EXPECT_EQ(HttpGet(withDeadline, collector_).outcome, HttpOutcome::Failed);
    HttpRequest withFloor = Request(server_.Url("/trickle"));
    withFloor.minimumRate = 1000;
    withFloor.rateWindow = 500ms;
    const auto belowFloor = HttpGet(withFloor, collector_);
    EXPECT_EQ(belowFloor.outcome, HttpOutcome::Failed);
    EXPECT_EQ(belowFloor.error, "the transfer was too slow");

    ScriptedReply steady = Body(SetupBytes(2000));
    steady.trickleBytes = 400;
    steady.tricklePause = 50ms;
    server_.Serve("/steady", steady);
    HttpRequest slowLine = Request(server_.Url("/steady"));
    slowLine.minimumRate = 1000;
    slowLine.rateWindow = 100ms;
    EXPECT_EQ(HttpGet(slowLine, collector_).outcome, HttpOutcome::Completed);
}

TEST_F(HttpTransferTest, FailsWhenNothingListens)
{
    const ClosedPort closed;
    EXPECT_EQ(HttpGet(Request(closed.Url("/page")), collector_).outcome, HttpOutcome::Failed);
}

TEST_F(HttpTransferTest, SpeaksTlsToAnHttpsAddressOnItsExplicitPort)
{
    const auto result = HttpGet(Request("https://" + server_.Authority() + "/page"), collector_);
    EXPECT_EQ(result.outcome, HttpOutcome::Failed);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_FALSE(requests[0].raw.empty());
    EXPECT_EQ(requests[0].raw[0], '\x16') << "expected a TLS handshake record";
}

}  // namespace
}  // namespace selvane::test
