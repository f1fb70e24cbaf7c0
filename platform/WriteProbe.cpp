#include "platform/WriteProbe.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace selvane::platform {

bool ProbeWriteAccess(const std::string& path)
{
    constexpr int kFlags = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    // O_EXCL tells us whether this call made the file, so that only our own file is removed,
    // even when another process creates one of the same name meanwhile.
    int descriptor = open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0666);
    const bool created = descriptor >= 0;
    if (!created && errno == EEXIST) descriptor = open(path.c_str(), kFlags);
    if (descriptor < 0) return false;
    close(descriptor);
    if (created) unlink(path.c_str());
    return true;
}

}  // namespace selvane::platform
