// Writes a file so that readers see either the old contents or the complete new ones:
// the data goes to a temporary file in the target's folder, which is renamed over the
// target only by Commit(). A writer destroyed without Commit() removes its temporary, so a
// failed write leaves no partial file and the earlier file untouched.
//
// A target that is a symbolic link is replaced through the link (the link stays). An
// existing target keeps its permission bits; one the user may not write is refused, as a
// direct write would be. Errors are OsError. Not shared between threads.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace selvane::platform {

enum class Durability {
    Flush,    // fsync before the rename: for files whose loss would hurt (settings)
    NoFlush,  // leave it to the system: for outputs that can be made again
};

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path, Durability durability = Durability::Flush);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // The open temporary file, for writers that want a stdio stream (libjpeg).
    std::FILE* Stream() const { return stream_; }
    void Write(const void* data, std::size_t size);
    // Flushes, closes and renames into place. Throws on any failure, leaving the target as
    // it was.
    void Commit();

private:
    void Discard() noexcept;

    std::string path_;
    std::string target_;
    std::string temporary_;
    std::FILE* stream_ = nullptr;
    Durability durability_;
    bool committed_ = false;
};

void WriteFileAtomically(const std::string& path, std::string_view data,
                         Durability durability = Durability::Flush);

// Removes the temporaries that writers of path killed before Commit() left beside it:
// those of ours not modified for minimumAge, so that a write still running elsewhere keeps
// its file. Never fails; what cannot be removed stays.
void RemoveStaleTemporaries(const std::string& path, std::chrono::seconds minimumAge) noexcept;

}  // namespace selvane::platform
