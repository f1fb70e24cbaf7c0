// Shortcuts as desktop entries: an executable file "<link name>.desktop" that starts a
// program in a given working folder, for the desktop folder or the applications menu.
#pragma once

#include <string>

namespace selvane::platform {

// Writes folder/<linkName>.desktop (folder without a trailing "/" or with one), replacing
// any existing one atomically, with mode 0755 so that file managers offer to start it.
// Name is the link name, Exec the target, Path the working folder. The folder must exist.
// Throws OsError when the file cannot be written.
void WriteDesktopShortcut(const std::string& folder, const std::string& linkName, const std::string& target,
                          const std::string& workingFolder);

}  // namespace selvane::platform
