#include "platform/HttpTransfer.h"

#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>

namespace selvane::platform {

namespace {

struct EasyHandleDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

CURL* NewEasyHandle()
{
    // curl_global_init is not thread-safe; a function-local static runs it exactly once.
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    return initialised == CURLE_OK ? curl_easy_init() : nullptr;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// State shared with libcurl's callbacks for one transfer. Exceptions must not cross
// libcurl's C frames, so they are kept here and rethrown after curl_easy_perform.
class Session {
public:
    Session(CURL* handle, HttpReceiver& receiver) : handle_(handle), receiver_(receiver) {}

    static size_t OnHeaderLine(char* data, size_t size, size_t count, void* self)
    {
        static_cast<Session*>(self)->TakeHeaderLine({data, size * count});
        return size * count;
    }

    static size_t OnBody(char* data, size_t size, size_t count, void* self)
    {
        auto& session = *static_cast<Session*>(self);
        const size_t total = size * count;
        try {
            if (!session.BeginOnce()) return 0;
            for (size_t offset = 0; offset < total; offset += kHttpChunkSize) {
                const size_t length = std::min(kHttpChunkSize, total - offset);
                if (!session.receiver_.Receive({data + offset, length})) {
                    session.stopped_ = true;
                    return 0;
                }
            }
            return total;
        } catch (...) {
            session.error_ = std::current_exception();
            return 0;
        }
    }

    // Calls Begin unless it ran already; false when the receiver stopped the transfer.
    bool BeginOnce()
    {
        if (begun_) return true;
        begun_ = true;
        curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &head_.status);
        if (!receiver_.Begin(head_)) stopped_ = true;
        return !stopped_;
    }

    bool Stopped() const { return stopped_; }
    void RethrowReceiverError() const
    {
        if (error_) std::rethrow_exception(error_);
    }

private:
    void TakeHeaderLine(std::string_view line)
    {
        // Every response of a redirection chain starts with its status line; only the
        // last response's length counts.
        if (StartsWithNoCase(line, "HTTP/")) {
            head_.contentLength.reset();
        } else if (StartsWithNoCase(line, "Content-Length:")) {
            head_.contentLength = std::string(Trimmed(line.substr(15)));
        }
    }

    CURL* handle_;
    HttpReceiver& receiver_;
    HttpResponseHead head_;
    bool begun_ = false;
    bool stopped_ = false;
    std::exception_ptr error_;
};

// The transfer's deadline and its floor on the average rate, checked as libcurl reports
// progress (at least once a second, even while nothing arrives).
class Pace {
public:
    explicit Pace(const HttpRequest& request)
        : start_(std::chrono::steady_clock::now()), deadline_(request.deadline),
          minimumRate_(request.minimumRate), rateWindow_(request.rateWindow)
    {}

    static int OnProgress(void* self, curl_off_t, curl_off_t received, curl_off_t, curl_off_t)
    {
        auto& pace = *static_cast<Pace*>(self);
        pace.tooSlow_ = pace.Behind(received);
        return pace.tooSlow_ ? 1 : 0;
    }

    bool TooSlow() const { return tooSlow_; }

private:
    bool Behind(curl_off_t received) const
    {
        using std::chrono::milliseconds;
        const auto elapsed =
            std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start_);
        if (deadline_.count() > 0 && elapsed > deadline_) return true;
        if (minimumRate_ == 0 || elapsed < rateWindow_) return false;
        // received / seconds < minimumRate, without dividing.
        return static_cast<double>(received) * 1000.0 <
               static_cast<double>(minimumRate_) * static_cast<double>(elapsed.count());
    }

    std::chrono::steady_clock::time_point start_;
    std::chrono::milliseconds deadline_;
    std::size_t minimumRate_;
    std::chrono::milliseconds rateWindow_;
    bool tooSlow_ = false;
};

}  // namespace

HttpResult HttpGet(const HttpRequest& request, HttpReceiver& receiver)
{
    const std::unique_ptr<CURL, EasyHandleDeleter> handle(NewEasyHandle());
    if (!handle) return {HttpOutcome::Failed, "cannot start libcurl"};
    CURL* const curl = handle.get();

    std::unique_ptr<curl_slist, HeaderListDeleter> headers;
    for (const char* header : {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"}) {
        curl_slist* const list = curl_slist_append(headers.get(), header);
        if (!list) return {HttpOutcome::Failed, "out of memory"};
        headers.release();
        headers.reset(list);
    }

    Session session(curl, receiver);
    Pace pace(request);
    char errorText[CURL_ERROR_SIZE] = "";
    // libcurl rounds the stall limit to whole seconds, and 0 would switch it off.
    const long stallSeconds = std::max<long>(1, static_cast<long>(request.stallTimeout.count()));

    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kHttpMaxRedirections);
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "TWebUpdate");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    if (!request.userName.empty() || !request.password.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, request.userName.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, request.password.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, static_cast<long>(kHttpChunkSize));
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &Session::OnHeaderLine);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &session);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Session::OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &session);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Pace::OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &pace);

    const CURLcode code = curl_easy_perform(curl);
    session.RethrowReceiverError();
    if (session.Stopped()) return {HttpOutcome::Stopped, {}};
    if (pace.TooSlow()) return {HttpOutcome::Failed, "the transfer was too slow"};
    if (code != CURLE_OK) return {HttpOutcome::Failed, *errorText ? errorText : curl_easy_strerror(code)};
    // An empty body never reaches OnBody, so the receiver hears of the response here.
    if (!session.BeginOnce()) return {HttpOutcome::Stopped, {}};
    return {HttpOutcome::Completed, {}};
}

}  // namespace selvane::platform
