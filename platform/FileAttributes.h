// File attributes as the rest of the program knows them, mapped from stat():
// hidden = name begins with "."; read-only = not writable by this user; directory;
// system = neither a regular file nor a directory (after following links; a dangling
// link, FIFO, socket or device); archive = regular file.
#pragma once

#include <optional>
#include <string>

namespace selvane::platform {

struct FileAttributes {
    bool directory = false;
    bool hidden = false;
    bool readOnly = false;
    bool system = false;
    bool archive = false;
};

// The attributes of the entry at path, or nothing when the path does not name an entry
// (not even a dangling link). Never throws.
std::optional<FileAttributes> GetFileAttributes(const std::string& path);

// Creates one folder level. Returns false (errno set) on failure, including when the
// folder exists already.
bool MakeDirectory(const std::string& path);

}  // namespace selvane::platform
