// Errors raised by the platform layer. The message names the operation, the path and the
// operating system's reason, e.g. "cannot create directory '/x/y': Permission denied".
#pragma once

#include <stdexcept>
#include <string>

namespace selvane::platform {

class OsError : public std::runtime_error {
public:
    // errorNumber is an errno value; its text is appended to the message.
    OsError(const std::string& operation, const std::string& path, int errorNumber);

    int ErrorNumber() const noexcept { return errorNumber_; }

private:
    int errorNumber_;
};

// The operating system's text for an errno value.
std::string ErrorText(int errorNumber);

}  // namespace selvane::platform
