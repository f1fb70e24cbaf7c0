// The rows of the folder tree for one folder, without the widget: "/" first, then every
// folder on the way down, all with the opened-folder glyph; then the folder itself with
// the current-folder glyph (the root alone is the single current row); then its visible
// subfolders with the closed-folder glyph.
//
// Row n of the way down is indented 4 x n + 2 pixels; subfolders 4 x (number of "/" in
// the folder) + 6. Reads the folder (ListSubfolders); never throws.
#pragma once

#include "source/listing/GlyphId.h"

#include <string>
#include <vector>

namespace selvane {

struct DirectoryItem {
    std::string text;  // "/" or a folder's name
    std::string path;  // the folder that opening the row goes to
    GlyphId glyph;
    int indent;

    bool operator==(const DirectoryItem&) const = default;
};

// The subfolders of folder, hidden and system entries and "." and ".." left out, in
// NameLess order. A folder that cannot be read has none.
std::vector<std::string> ListSubfolders(const std::string& folder);

// The rows for an absolute folder without trailing "/" (the root is "/").
std::vector<DirectoryItem> DirectoryItems(const std::string& folder,
                                          const std::vector<std::string>& subfolders);

// The index of the folder's own row in DirectoryItems.
int CurrentItemIndex(const std::string& folder);

}  // namespace selvane
