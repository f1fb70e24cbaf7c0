#include "source/listing/FolderPaths.h"

#include "platform/CurrentFolder.h"
#include "platform/OsError.h"
#include "source/listing/NameOrder.h"

#include <filesystem>
#include <system_error>

namespace selvane {

bool SameFolder(const std::string& a, const std::string& b)
{
    const std::string left = WithoutTrailingSeparators(a), right = WithoutTrailingSeparators(b);
    if (left == right) return true;
    if (!EqualIgnoringCase(left, right)) return false;
    std::error_code ignored;
    return std::filesystem::equivalent(left, right, ignored);
}

std::string StartFolder()
{
    try {
        return platform::GetCurrentFolder();
    } catch (const platform::OsError&) {
        return "/";
    }
}

std::string WithoutTrailingSeparators(std::string text)
{
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace selvane
