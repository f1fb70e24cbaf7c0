#include "platform/PatternSearch.h"

#include "platform/CaseFolding.h"

#include <dirent.h>
#include <memory>

namespace selvane::platform {

bool MatchesPattern(std::string_view name, std::string_view pattern)
{
    if (pattern == "*.*") return true;
    const std::u32string text = Characters(name, true);
    const std::u32string mask = Characters(pattern, true);
    // Greedy matching that returns to the last "*" on a mismatch; linear in practice and
    // never worse than text length times mask length.
    std::size_t t = 0, m = 0;
    std::size_t starMask = std::u32string::npos, starText = 0;
    while (t < text.size()) {
        if (m < mask.size() && mask[m] == U'*') {
            starMask = m++;
            starText = t;
        } else if (m < mask.size() && (mask[m] == U'?' || mask[m] == text[t])) {
            ++m;
            ++t;
        } else if (starMask != std::u32string::npos) {
            m = starMask + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == U'*') ++m;
    return m == mask.size();
}

std::vector<FoundEntry> FindEntries(const std::string& pathPattern)
{
    const auto slash = pathPattern.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : pathPattern.substr(0, slash + 1);
    const std::string pattern = slash == std::string::npos ? pathPattern : pathPattern.substr(slash + 1);
    std::vector<FoundEntry> found;
    if (pattern.empty()) return found;

    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), closedir);
    if (!directory) return found;
    const std::string prefix = folder.back() == '/' ? folder : folder + '/';
    while (const dirent* entry = readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (!MatchesPattern(name, pattern)) continue;
        // An entry removed since readdir listed it is simply not reported.
        if (auto attributes = GetFileAttributes(prefix + name)) found.push_back({name, *attributes});
    }
    return found;
}

}  // namespace selvane::platform
