#include "source/listing/ListPath.h"

#include "platform/FileAttributes.h"
#include "util/TessaroTPU.h"

namespace selvane {

namespace {

std::string Join(const std::string& folder, const std::string& name)
{
    return AddTrailingBackslash(folder) + name;
}

bool HasWildcards(const std::string& name)
{
    return name.find_first_of("*?") != std::string::npos;
}

bool IsDirectory(const std::string& path)
{
    const auto attributes = platform::GetFileAttributes(path);
    return attributes && attributes->directory;
}

}  // namespace

ListPath SplitListPath(const std::string& text, const std::string& base)
{
    std::string path = text;
    if (path.size() >= 2 && path.front() == '[' && path.back() == ']' && !FileExists(Join(base, path)))
        path = path.substr(1, path.size() - 2);

    ListPath parts;
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        parts.folder = base.empty() ? "/" : base;
        parts.file = path;
    } else {
        parts.folder = slash == 0 ? "/" : path.substr(0, slash);
        parts.file = path.substr(slash + 1);
        if (parts.folder.front() != '/') parts.folder = Join(base, parts.folder);
    }
    const std::string named = Join(parts.folder, parts.file);
    if (parts.file.empty() || FileExists(named)) return parts;
    if (HasWildcards(parts.file) && !IsDirectory(named)) {
        parts.pattern = true;
    } else {
        parts.folder = named;
        parts.file.clear();
    }
    return parts;
}

}  // namespace selvane
