#include "source/listing/PictureFolder.h"

#include "platform/PatternSearch.h"
#include "source/listing/NameOrder.h"
#include "util/TessaroTPU.h"

#include <algorithm>
#include <sstream>

namespace selvane {

std::vector<std::string> ListPictureFiles(const std::string& folder)
{
    const std::string base = AddTrailingBackslash(folder);
    std::vector<std::string> names;
    std::istringstream pieces(kPictureMask);
    for (std::string piece; std::getline(pieces, piece, ';');)
        for (const platform::FoundEntry& entry : platform::FindEntries(base + piece))
            if (entry.attributes.archive) names.push_back(entry.name);
    std::sort(names.begin(), names.end(), NameLess);
    for (std::string& name : names) name = base + name;
    return names;
}

}  // namespace selvane
