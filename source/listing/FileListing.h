// What a file list shows for one folder, mask and file type, without any widget: the mask
// cut into its patterns, which directory entries qualify, which glyph each item carries,
// and the items in list order.
//
// Reading a folder never fails: a folder that is missing or cannot be read, an empty
// pattern or an entry that vanishes meanwhile simply yields nothing. Reads the file system
// on the calling thread.
#pragma once

#include "platform/FileAttributes.h"
#include "source/listing/EnumSet.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace selvane {

// Each member but ftNormal searches for one attribute; ftNormal admits every entry that
// the search does not pass over. There are no volume labels here, so ftVolumeID finds
// nothing.
enum class TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
using TFileType = EnumSet<TFileAttr>;

enum class ListGlyph { Executable, UnknownFile, ClosedFolder };

struct ListItem {
    std::string text;  // the file name, or "[" + folder name + "]" for a folder
    ListGlyph glyph;
};

// The mask cut at every ";", empty pieces included.
std::vector<std::string> SplitMask(const std::string& mask);

// Whether an entry with these attributes is listed under the file type: folders, system
// and hidden entries only when their attribute is asked for; then every entry under
// ftNormal, otherwise only one that carries an attribute asked for.
bool Qualifies(const platform::FileAttributes& attributes, TFileType fileType);

// "EXECUTABLE" for the extensions .exe, .com, .bat and .pif in any case, else
// "UNKNOWNFILE".
ListGlyph FileGlyph(const std::string& name);

// The items for folder: each piece of the mask searched in turn, every qualifying entry
// once per piece it matches, sorted by NameLess (items of equal text keep the order in
// which they were found). added, when set, is called with the index of each item as it is
// found (0, 1, 2, ...), so that a caller can show that a long listing is under way.
std::vector<ListItem> ListFolder(const std::string& folder, const std::string& mask, TFileType fileType,
                                 const std::function<void(std::size_t index)>& added = {});

}  // namespace selvane
