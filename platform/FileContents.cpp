#include "platform/FileContents.h"

#include "platform/OsError.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace selvane::platform {

std::optional<std::string> ReadFileContents(const std::string& path, std::size_t maxBytes)
{
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        throw OsError("cannot read", path, errno);
    }
    std::string contents;
    char buffer[65536];
    for (;;) {
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            close(descriptor);
            throw OsError("cannot read", path, error);
        }
        contents.append(buffer, static_cast<std::size_t>(count));
        if (contents.size() > maxBytes) {
            close(descriptor);
            throw OsError("cannot read", path, EFBIG);
        }
    }
    close(descriptor);
    return contents;
}

}  // namespace selvane::platform
