#include "engine/PictureFolder.h"

#include "platform/PatternSearch.h"
#include "util/TessaroTPU.h"

#include <algorithm>
#include <sstream>

namespace selvane {

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

std::vector<std::string> ListPictureFiles(const std::string& folder)
{
    const std::string base = AddTrailingBackslash(folder);
    std::vector<std::string> names;
    std::istringstream pieces(kPictureMask);
    for (std::string piece; std::getline(pieces, piece, ';');)
        for (const platform::FoundEntry& entry : platform::FindEntries(base + piece))
            if (entry.attributes.archive) names.push_back(entry.name);
    // Names equal but for case are ordered by their bytes, so the order never depends on
    // the directory's.
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = Lower(a), lb = Lower(b);
        return la != lb ? la < lb : a < b;
    });
    for (std::string& name : names) name = base + name;
    return names;
}

}  // namespace selvane
