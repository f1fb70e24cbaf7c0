// The process's current folder. It is process-wide state: change it only from the thread
// that owns the file lists (the user-interface thread).
//
// Both functions throw OsError, which names the operation, the folder and the operating
// system's reason.
#pragma once

#include <string>

namespace selvane::platform {

// The current folder as the system reports it: absolute, without a trailing "/" except
// for the root.
std::string GetCurrentFolder();

// Makes folder the current folder; a relative folder is taken from the current one.
void SetCurrentFolder(const std::string& folder);

}  // namespace selvane::platform
