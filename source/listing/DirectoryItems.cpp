#include "source/listing/DirectoryItems.h"

#include "platform/PatternSearch.h"
#include "source/listing/NameOrder.h"
#include "util/TessaroTPU.h"

#include <algorithm>

namespace selvane {

namespace {

std::vector<std::string> PathNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::size_t start = 1;
    while (start < folder.size()) {
        std::size_t slash = folder.find('/', start);
        if (slash == std::string::npos) slash = folder.size();
        if (slash > start) names.push_back(folder.substr(start, slash - start));
        start = slash + 1;
    }
    return names;
}

}  // namespace

std::vector<std::string> ListSubfolders(const std::string& folder)
{
    std::vector<std::string> names;
    for (const platform::FoundEntry& entry : platform::FindEntries(AddTrailingBackslash(folder) + "*.*")) {
        const platform::FileAttributes& attributes = entry.attributes;
        if (!attributes.directory || attributes.hidden || attributes.system) continue;
        if (entry.name == "." || entry.name == "..") continue;
        names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NameLess(a, b); });
    return names;
}

int CurrentItemIndex(const std::string& folder)
{
    return static_cast<int>(PathNames(folder).size());
}

std::vector<DirectoryItem> DirectoryItems(const std::string& folder,
                                          const std::vector<std::string>& subfolders)
{
    const std::vector<std::string> names = PathNames(folder);
    std::vector<DirectoryItem> items;
    items.push_back({"/", "/", names.empty() ? GlyphId::CurrentFolder : GlyphId::OpenFolder, 2});
    std::string path;
    for (std::size_t n = 1; n <= names.size(); ++n) {
        path += "/" + names[n - 1];
        const GlyphId glyph = n == names.size() ? GlyphId::CurrentFolder : GlyphId::OpenFolder;
        items.push_back({names[n - 1], path, glyph, static_cast<int>(4 * n + 2)});
    }
    const int subfolderIndent = 4 * static_cast<int>(std::count(folder.begin(), folder.end(), '/')) + 6;
    for (const std::string& name : subfolders)
        items.push_back({name, AddTrailingBackslash(folder) + name, GlyphId::ClosedFolder, subfolderIndent});
    return items;
}

}  // namespace selvane
