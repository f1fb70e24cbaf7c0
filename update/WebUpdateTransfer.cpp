#include "platform/AtomicFile.h"
#include "platform/HttpTransfer.h"
#include "update/UpdateUrl.h"
#include "update/WebUpdate.h"

#include <charconv>
#include <optional>
#include <stdexcept>

namespace selvane {

namespace {

enum class TransferEnd {
    Succeeded,
    Failed,   // reported through OnDownloadError
    Aborted,  // AbortTransfer: no event
    Error,    // a local error (file not writable, bad Content-Length): no event
};

std::int64_t ContentLengthValue(const std::string& text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        throw std::runtime_error("Content-Length is not a length: " + text);
    return value;
}

}  // namespace

// Takes one response for TWebUpdate: keeps Total and Downloaded, fires OnDownload and lets
// window messages through after every chunk, and stops when Aborted is set.
class TWebUpdate::TransferReceiver final : public platform::HttpReceiver {
public:
    TransferReceiver(TWebUpdate& owner, const std::string* filePath, bool lengthRequired)
        : owner_(owner), filePath_(filePath), lengthRequired_(lengthRequired)
    {}

    bool Begin(const platform::HttpResponseHead& head) override
    {
        if (owner_.Aborted_) {
            aborted_ = true;
            return false;
        }
        // An error page is neither the update page nor the file asked for.
        if (head.status < 200 || head.status > 299) return false;
        if (head.contentLength) owner_.Total_ = ContentLengthValue(*head.contentLength);
        else if (lengthRequired_) return false;
        owner_.Downloaded_ = 0;
        if (filePath_) {
            if (owner_.Total_ > kMaxDownloadSize) return false;
            file_.emplace(*filePath_);
        }
        return true;
    }

    bool Receive(std::string_view chunk) override
    {
        if (file_) {
            file_->Write(chunk.data(), chunk.size());
        } else {
            if (text_.size() + chunk.size() > kMaxPageSize) return false;
            text_.append(chunk);
        }
        owner_.Downloaded_ += static_cast<std::int64_t>(chunk.size());
        if (owner_.OnDownload) owner_.OnDownload(owner_.Total_, owner_.Downloaded_);
        if (owner_.ProcessMessages) owner_.ProcessMessages();
        // A handler that ran just now may have aborted; stop before the next read.
        if (owner_.Aborted_) {
            aborted_ = true;
            return false;
        }
        return true;
    }

    bool Aborted() const { return aborted_; }
    const std::string& Text() const { return text_; }

    // After the whole response: a page must not be empty, a file must have the announced
    // length, and only then is it renamed into place.
    bool Finish()
    {
        if (!file_) return owner_.Downloaded_ != 0;
        if (owner_.Downloaded_ != owner_.Total_) return false;
        file_->Commit();
        return true;
    }

private:
    TWebUpdate& owner_;
    const std::string* filePath_;
    bool lengthRequired_;
    bool aborted_ = false;
    std::optional<platform::AtomicFileWriter> file_;
    std::string text_;
};

void TWebUpdate::TransferUrl(const std::string& address, const std::string* filePath, bool lengthRequired)
{
    Aborted_ = false;
    const auto transfer = [&] {
        const TUrlParts parts = SplitUrl(address);
        if (parts.Server.empty()) return TransferEnd::Failed;
        TransferReceiver receiver(*this, filePath, lengthRequired);
        platform::HttpRequest request{parts.Scheme + "://" + parts.Server + parts.Object, UserName, Password,
                                      ConnectTimeout, StallTimeout};
        if (filePath) {
            request.minimumRate = MinimumRate;
            request.rateWindow = RateWindow;
        } else {
            request.deadline = PageDeadline;
        }
        const platform::HttpResult result = platform::HttpGet(request, receiver);
        if (receiver.Aborted()) return TransferEnd::Aborted;
        if (result.outcome != platform::HttpOutcome::Completed || !receiver.Finish())
            return TransferEnd::Failed;
        if (!filePath) InfoLines_ = SplitPageLines(receiver.Text());
        return TransferEnd::Succeeded;
    };

    TransferEnd end = TransferEnd::Error;
    try {
        end = transfer();
    } catch (const std::exception&) {
        end = TransferEnd::Error;
    }
    Succeeded_ = end == TransferEnd::Succeeded;
    if (end == TransferEnd::Failed) Fire(OnDownloadError);
}

}  // namespace selvane
