#include "platform/OsError.h"

#include <cstring>

namespace selvane::platform {

std::string ErrorText(int errorNumber)
{
    char buffer[256];
    // GNU strerror_r may return a static string instead of filling the buffer.
    return strerror_r(errorNumber, buffer, sizeof buffer);
}

OsError::OsError(const std::string& operation, const std::string& path, int errorNumber)
    : std::runtime_error(operation + " '" + path + "': " + ErrorText(errorNumber)), errorNumber_(errorNumber)
{}

}  // namespace selvane::platform
