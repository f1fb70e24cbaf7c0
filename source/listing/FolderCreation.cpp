#include "source/listing/FolderCreation.h"

#include "platform/FileAttributes.h"
#include "source/listing/FolderPaths.h"

namespace selvane {

bool NamesMissingFolder(const std::string& text)
{
    const std::string path = WithoutTrailingSeparators(text);
    if (path.empty() || path.front() != '/' || path.back() == ' ') return false;
    for (std::size_t start = 1; start < path.size();) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        const std::string part = path.substr(start, slash - start);
        if (part == "." || part == "..") return false;
        start = slash + 1;
    }
    return !platform::GetFileAttributes(path).has_value();
}

}  // namespace selvane
