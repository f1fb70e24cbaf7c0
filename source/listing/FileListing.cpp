#include "source/listing/FileListing.h"

#include "platform/PatternSearch.h"
#include "source/listing/NameOrder.h"
#include "util/TessaroTPU.h"

#include <algorithm>
#include <array>

namespace selvane {

std::vector<std::string> SplitMask(const std::string& mask)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t semicolon; (semicolon = mask.find(';', start)) != std::string::npos;
         start = semicolon + 1)
        pieces.push_back(mask.substr(start, semicolon - start));
    pieces.push_back(mask.substr(start));
    return pieces;
}

bool Qualifies(const platform::FileAttributes& attributes, TFileType fileType)
{
    using enum TFileAttr;
    if ((attributes.directory && !fileType.Contains(ftDirectory)) ||
        (attributes.system && !fileType.Contains(ftSystem)) ||
        (attributes.hidden && !fileType.Contains(ftHidden)))
        return false;
    if (fileType.Contains(ftNormal)) return true;
    return (attributes.readOnly && fileType.Contains(ftReadOnly)) ||
           (attributes.hidden && fileType.Contains(ftHidden)) ||
           (attributes.system && fileType.Contains(ftSystem)) ||
           (attributes.directory && fileType.Contains(ftDirectory)) ||
           (attributes.archive && fileType.Contains(ftArchive));
}

ListGlyph FileGlyph(const std::string& name)
{
    static constexpr std::array<std::string_view, 4> kExecutable{".exe", ".com", ".bat", ".pif"};
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return ListGlyph::UnknownFile;
    std::string extension = name.substr(dot);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return std::find(kExecutable.begin(), kExecutable.end(), extension) != kExecutable.end()
               ? ListGlyph::Executable
               : ListGlyph::UnknownFile;
}

std::vector<ListItem> ListFolder(const std::string& folder, const std::string& mask, TFileType fileType,
                                 const std::function<void(std::size_t index)>& added)
{
    const std::string base = AddTrailingBackslash(folder);
    std::vector<ListItem> items;
    for (const std::string& piece : SplitMask(mask)) {
        for (const platform::FoundEntry& entry : platform::FindEntries(base + piece)) {
            if (!Qualifies(entry.attributes, fileType)) continue;
            if (entry.attributes.directory)
                items.push_back({"[" + entry.name + "]", ListGlyph::ClosedFolder});
            else items.push_back({entry.name, FileGlyph(entry.name)});
            if (added) added(items.size() - 1);
        }
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const ListItem& a, const ListItem& b) { return NameLess(a.text, b.text); });
    return items;
}

}  // namespace selvane
