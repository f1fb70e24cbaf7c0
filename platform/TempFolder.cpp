#include "platform/TempFolder.h"

#include <cstdlib>
#include <sys/stat.h>

namespace selvane::platform {

std::string GetTempFolder()
{
    std::string folder = "/tmp";
    if (const char* variable = std::getenv("TMPDIR"); variable && *variable) {
        struct stat info {};
        if (stat(variable, &info) == 0 && S_ISDIR(info.st_mode)) folder = variable;
    }
    if (folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace selvane::platform
