// One HTTP GET per call, on libcurl: HTTP/1.0, agent "TWebUpdate", "Accept: */*", no cached
// copy (Pragma and Cache-Control no-cache), Basic credentials when a user name is given.
// Only http and https are fetched; redirections are followed up to kHttpMaxRedirections,
// and credentials are not sent on to another host. An explicit port in the address is
// used, otherwise 80 for http and 443 for https. The system's proxy variables apply.
//
// The body goes to an HttpReceiver in pieces of at most kHttpChunkSize bytes; after each
// piece the receiver may stop the transfer, which is how callers poll an abort flag and
// let window messages through. A connection that cannot be made within connectTimeout, or
// that delivers nothing for stallTimeout, fails the transfer; so does one that outlasts its
// deadline, or that, once rateWindow has passed, has delivered less than minimumRate bytes
// per second on average since it began (a server that trickles a large body).
//
// Network and protocol errors come back as HttpResult values; an exception thrown by the
// receiver is rethrown once the connection is closed. Blocks the calling thread; separate
// calls may run on separate threads.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace selvane::platform {

inline constexpr std::size_t kHttpChunkSize = 1025;
inline constexpr long kHttpMaxRedirections = 5;

struct HttpRequest {
    std::string url;  // absolute http:// or https:// address
    std::string userName;
    std::string password;
    std::chrono::milliseconds connectTimeout = std::chrono::seconds(10);
    std::chrono::seconds stallTimeout = std::chrono::seconds(30);
    std::chrono::milliseconds deadline{0};  // zero: none
    std::size_t minimumRate = 0;            // bytes per second; zero: none
    std::chrono::milliseconds rateWindow = std::chrono::seconds(30);
};

// The final response's status line and length, after any redirections.
struct HttpResponseHead {
    long status = 0;
    // The Content-Length header's text as sent, when the server sent one.
    std::optional<std::string> contentLength;
};

class HttpReceiver {
public:
    virtual ~HttpReceiver() = default;
    // Called once, before the first piece of the body (or at the end for an empty body).
    // Returning false ends the transfer without reading the body.
    virtual bool Begin(const HttpResponseHead& head) = 0;
    // The next piece of the body. Returning false ends the transfer.
    virtual bool Receive(std::string_view piece) = 0;
};

enum class HttpOutcome {
    Completed,  // the whole response was delivered
    Stopped,    // the receiver returned false
    Failed,     // the address, the connection or the protocol failed; see error
};

struct HttpResult {
    HttpOutcome outcome = HttpOutcome::Failed;
    std::string error;  // libcurl's description, for Failed
};

HttpResult HttpGet(const HttpRequest& request, HttpReceiver& receiver);

}  // namespace selvane::platform
