// Finds out whether a file can be opened for reading and writing by doing it: an existing
// file is opened without being truncated or changed, a missing one is created and removed
// again. Never throws; never blocks on a FIFO.
#pragma once

#include <string>

namespace selvane::platform {

// True when path could be opened (or created) for reading and writing. A file that this
// call created is gone when it returns; a file that existed keeps its contents.
bool ProbeWriteAccess(const std::string& path);

}  // namespace selvane::platform
