// Which texts of the folder dialog's path field may be created as a folder when the person
// confirms them. Reads the file system (stat); never throws.
#pragma once

#include <string>

namespace selvane {

// text is a full path ("/" first) to a folder that does not exist yet: nothing exists at
// that path, it has no "." or ".." part, and it does not end in a space (such a folder
// could never be named again, see FolderExists). Trailing "/" are allowed.
bool NamesMissingFolder(const std::string& text);

}  // namespace selvane
