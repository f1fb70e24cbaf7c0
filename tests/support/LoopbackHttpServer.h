// A small HTTP server for tests: listens on 127.0.0.1 at a port the system picks, serves
// scripted replies by request path (query included) on one thread, one connection at a
// time, and records every request it reads. Unknown paths get a 404 page.
#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace selvane::test {

struct ScriptedReply {
    int status = 200;
    std::vector<std::string> headers;  // extra header lines, e.g. "Location: /next"
    std::string body;
    // Content-Length is sent as the body's size unless withLength is false or
    // contentLength gives another text.
    bool withLength = true;
    std::optional<std::string> contentLength;
    // Closes the connection after this many bytes of the body (a short transfer).
    std::optional<std::size_t> bytesSent;
    // Reads the request and then says nothing until the client hangs up.
    bool neverAnswer = false;
    // A slow line: the body goes out trickleBytes at a time with tricklePause after each
    // piece, until it is sent or the client hangs up.
    std::size_t trickleBytes = 0;
    std::chrono::milliseconds tricklePause{0};
};

struct RecordedRequest {
    std::string raw;          // the bytes read, up to the end of the header
    std::string requestLine;  // e.g. "GET /page HTTP/1.0"
    std::string path;
    // The value of the first header of that name (any letter case), or nothing.
    std::optional<std::string> Header(const std::string& name) const;
};

class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    int Port() const { return port_; }
    // "127.0.0.1:<port>", the server part of an address.
    std::string Authority() const;
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(const std::string& path) const;

    void Serve(const std::string& path, ScriptedReply reply);
    std::vector<RecordedRequest> Requests() const;
    std::size_t RequestsFor(const std::string& path) const;

private:
    void Run();
    void Handle(int client);
    // Waits until the socket can be read; false when the server is stopping.
    bool WaitReadable(int socket) const;
    // Waits for the time given; false when the server is stopping or the client has gone.
    bool Pause(int client, std::chrono::milliseconds time) const;

    int listener_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::pair<std::string, ScriptedReply>> replies_;
    std::vector<RecordedRequest> requests_;
    std::thread thread_;
};

}  // namespace selvane::test
