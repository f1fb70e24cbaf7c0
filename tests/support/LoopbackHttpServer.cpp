#include "tests/support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace selvane::test {

namespace {

std::string Lowered(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Sends everything it can; a client that hung up early just ends the reply.
void SendAll(int socket, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t sent = send(socket, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return;
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
}

const char* ReasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    default: return "Status";
    }
}

}  // namespace

std::optional<std::string> RecordedRequest::Header(const std::string& name) const
{
    const std::string wanted = Lowered(name) + ":";
    std::size_t start = raw.find("\r\n");
    while (start != std::string::npos) {
        start += 2;
        const auto end = raw.find("\r\n", start);
        const std::string line = raw.substr(start, end == std::string::npos ? end : end - start);
        if (Lowered(line).starts_with(wanted)) {
            const auto value = line.find_first_not_of(' ', wanted.size());
            return value == std::string::npos ? std::string() : line.substr(value);
        }
        start = end;
    }
    return std::nullopt;
}

LoopbackHttpServer::LoopbackHttpServer()
{
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        pipe2(stopPipe_, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("test server: ") + std::strerror(errno));
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    const char stop = 's';
    (void)!write(stopPipe_[1], &stop, 1);
    thread_.join();
    close(listener_);
    close(stopPipe_[0]);
    close(stopPipe_[1]);
}

std::string LoopbackHttpServer::Authority() const
{
    return "127.0.0.1:" + std::to_string(port_);
}

std::string LoopbackHttpServer::Url(const std::string& path) const
{
    return "http://" + Authority() + path;
}

void LoopbackHttpServer::Serve(const std::string& path, ScriptedReply reply)
{
    const std::lock_guard lock(mutex_);
    replies_.emplace_back(path, std::move(reply));
}

std::vector<RecordedRequest> LoopbackHttpServer::Requests() const
{
    const std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t LoopbackHttpServer::RequestsFor(const std::string& path) const
{
    const std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(requests_.begin(), requests_.end(), [&](const auto& r) { return r.path == path; }));
}

bool LoopbackHttpServer::WaitReadable(int socket) const
{
    pollfd watched[2] = {{socket, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    while (poll(watched, 2, -1) < 0)
        if (errno != EINTR) return false;
    return (watched[1].revents & POLLIN) == 0;
}

bool LoopbackHttpServer::Pause(int client, std::chrono::milliseconds time) const
{
    pollfd watched[2] = {{client, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    const int ready = poll(watched, 2, static_cast<int>(time.count()));
    return ready == 0 || (ready < 0 && errno == EINTR);
}

void LoopbackHttpServer::Run()
{
    while (WaitReadable(listener_)) {
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        Handle(client);
        close(client);
    }
}

void LoopbackHttpServer::Handle(int client)
{
    RecordedRequest request;
    // Read up to the blank line that ends the header. A TLS handshake (first byte 0x16)
    // has none; it is recorded as it came.
    while (request.raw.find("\r\n\r\n") == std::string::npos &&
           (request.raw.empty() || request.raw[0] != '\x16')) {
        if (!WaitReadable(client)) return;
        char buffer[4096];
        const ssize_t received = recv(client, buffer, sizeof buffer, 0);
        if (received <= 0) break;
        request.raw.append(buffer, static_cast<std::size_t>(received));
    }
    request.requestLine = request.raw.substr(0, request.raw.find("\r\n"));
    const auto pathStart = request.requestLine.find(' ');
    if (pathStart != std::string::npos) {
        const auto pathEnd = request.requestLine.find(' ', pathStart + 1);
        request.path = request.requestLine.substr(pathStart + 1, pathEnd - pathStart - 1);
    }

    ScriptedReply reply;
    reply.status = 404;
    reply.body = "<html>no such page</html>";
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(request);
        const auto found = std::find_if(replies_.rbegin(), replies_.rend(),
                                        [&](const auto& entry) { return entry.first == request.path; });
        if (found != replies_.rend()) reply = found->second;
    }
    if (request.raw.empty() || request.raw[0] == '\x16') return;

    if (reply.neverAnswer) {
        char buffer[256];
        while (WaitReadable(client) && recv(client, buffer, sizeof buffer, 0) > 0) {}
        return;
    }
    std::string head = "HTTP/1.0 " + std::to_string(reply.status) + " " + ReasonPhrase(reply.status) + "\r\n";
    for (const std::string& line : reply.headers) head += line + "\r\n";
    if (reply.withLength)
        head += "Content-Length: " + reply.contentLength.value_or(std::to_string(reply.body.size())) + "\r\n";
    head += "Connection: close\r\n\r\n";
    SendAll(client, head);
    const std::size_t bytes = std::min(reply.body.size(), reply.bytesSent.value_or(reply.body.size()));
    const std::string_view body = std::string_view(reply.body).substr(0, bytes);
    if (reply.trickleBytes == 0) {
        SendAll(client, body);
        return;
    }
    for (std::size_t at = 0; at < body.size(); at += reply.trickleBytes) {
        SendAll(client, body.substr(at, reply.trickleBytes));
        if (!Pause(client, reply.tricklePause)) return;
    }
}

}  // namespace selvane::test
