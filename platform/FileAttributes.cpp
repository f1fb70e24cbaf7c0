#include "platform/FileAttributes.h"

#include <sys/stat.h>
#include <unistd.h>

namespace selvane::platform {

namespace {

std::string BaseName(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const auto slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

}  // namespace

std::optional<FileAttributes> GetFileAttributes(const std::string& path)
{
    if (path.empty()) return std::nullopt;
    FileAttributes attributes;
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        attributes.directory = S_ISDIR(info.st_mode);
        attributes.archive = S_ISREG(info.st_mode);
        attributes.system = !attributes.directory && !attributes.archive;
    } else if (lstat(path.c_str(), &info) == 0) {
        attributes.system = true;  // a dangling symbolic link
    } else {
        return std::nullopt;
    }
    const std::string name = BaseName(path);
    attributes.hidden = name.size() > 1 && name[0] == '.' && name != "..";
    attributes.readOnly = access(path.c_str(), W_OK) != 0;
    return attributes;
}

bool MakeDirectory(const std::string& path)
{
    return mkdir(path.c_str(), 0777) == 0;
}

}  // namespace selvane::platform
