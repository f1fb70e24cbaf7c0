// Reads a whole file into memory, bytes unchanged. Never blocks on a FIFO.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>

namespace selvane::platform {

// The file's bytes; std::nullopt when there is no file at path (or a folder of the path is
// missing). Throws OsError for any other failure (no permission, a folder, an I/O error),
// so that a caller about to rewrite the file never mistakes an unreadable file for an
// empty one. A file holding more than maxBytes is such a failure too (EFBIG): reading
// stops there, so an endless source (a link to /dev/zero) cannot exhaust memory.
std::optional<std::string> ReadFileContents(const std::string& path,
                                            std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

}  // namespace selvane::platform
