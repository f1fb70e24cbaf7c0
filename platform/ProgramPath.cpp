#include "platform/ProgramPath.h"

#include <climits>
#include <unistd.h>

namespace selvane::platform {

namespace {

std::optional<std::string>& Override()
{
    static std::optional<std::string> path;
    return path;
}

}  // namespace

std::string ProgramPath()
{
    if (Override()) return *Override();
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    // A result that fills the buffer may have been cut.
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) return {};
    return std::string(buffer, static_cast<std::size_t>(length));
}

void OverrideProgramPathForTesting(std::optional<std::string> path)
{
    Override() = std::move(path);
}

}  // namespace selvane::platform
