#include "platform/AtomicFile.h"

#include "platform/OsError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace selvane::platform {

namespace {

mode_t ProcessUmask()
{
    // umask() can only be read by setting it; do it once, before any other thread could
    // be creating files.
    static const mode_t mask = [] {
        const mode_t old = umask(0);
        umask(old);
        return old;
    }();
    return mask;
}

std::string FolderOf(const std::string& path);

// The kernel refuses to follow a link that someone else planted in a shared sticky folder
// such as /tmp; following links by hand must refuse it too.
void RefuseForeignLinkInStickyFolder(const std::string& link, const std::string& path)
{
    struct stat linkInfo {};
    struct stat folderInfo {};
    if (lstat(link.c_str(), &linkInfo) != 0 || stat(FolderOf(link).c_str(), &folderInfo) != 0) return;
    const bool shared = (folderInfo.st_mode & S_ISVTX) && (folderInfo.st_mode & S_IWOTH);
    if (shared && linkInfo.st_uid != geteuid() && linkInfo.st_uid != folderInfo.st_uid)
        throw OsError("cannot write", path, EACCES);
}

// Follows a chain of symbolic links to the file that should be replaced. A dangling link
// resolves to the path it names, which is then created.
std::string ResolveLinks(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        char buffer[PATH_MAX];
        const ssize_t length = readlink(current.c_str(), buffer, sizeof buffer - 1);
        if (length < 0) return current;
        RefuseForeignLinkInStickyFolder(current, path);
        std::string target(buffer, static_cast<std::size_t>(length));
        if (!target.empty() && target[0] != '/') {
            const auto slash = current.rfind('/');
            if (slash != std::string::npos) target = current.substr(0, slash + 1) + target;
        }
        current = target;
    }
    throw OsError("cannot write", path, ELOOP);
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A temporary's name is this prefix and six characters that mkstemp chooses.
std::string TemporaryPrefix(const std::string& target)
{
    std::string prefix(".");
    prefix.append(NameOf(target)).push_back('.');
    return prefix;
}

constexpr std::size_t kTemporarySuffixLength = 6;

bool IsTemporarySuffix(std::string_view suffix)
{
    const auto chosenByMkstemp = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return suffix.size() == kTemporarySuffixLength &&
           std::all_of(suffix.begin(), suffix.end(), chosenByMkstemp);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path, Durability durability)
    : path_(path), target_(ResolveLinks(path)), durability_(durability)
{
    mode_t mode = 0666 & ~ProcessUmask();
    struct stat info {};
    if (stat(target_.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) throw OsError("cannot write", path, EISDIR);
        if (access(target_.c_str(), W_OK) != 0) throw OsError("cannot write", path, errno);
        mode = info.st_mode & 07777;
    }
    // A hidden name that no picture mask matches, in the target's own folder so that the
    // rename stays on one file system.
    std::string folder = FolderOf(target_);
    temporary_ = (folder == "/" ? "" : folder) + "/" + TemporaryPrefix(target_) + "XXXXXX";
    const int descriptor = mkstemp(temporary_.data());
    if (descriptor < 0) {
        const int error = errno;
        temporary_.clear();
        throw OsError("cannot create a file in", folder, error);
    }
    if (fchmod(descriptor, mode) != 0 || !(stream_ = fdopen(descriptor, "wb"))) {
        const int error = errno;
        close(descriptor);
        Discard();
        throw OsError("cannot write", path, error);
    }
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!committed_) Discard();
}

void AtomicFileWriter::Discard() noexcept
{
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void AtomicFileWriter::Write(const void* data, std::size_t size)
{
    if (size > 0 && std::fwrite(data, 1, size, stream_) != size)
        throw OsError("cannot write", path_, errno ? errno : EIO);
}

void AtomicFileWriter::Commit()
{
    int error = 0;
    if (std::fflush(stream_) != 0) error = errno;
    if (!error && durability_ == Durability::Flush && fsync(fileno(stream_)) != 0) error = errno;
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (!error && closed != 0) error = errno;
    if (!error && rename(temporary_.c_str(), target_.c_str()) != 0) error = errno;
    if (error) {
        Discard();
        throw OsError("cannot write", path_, error);
    }
    temporary_.clear();
    committed_ = true;
}

void WriteFileAtomically(const std::string& path, std::string_view data, Durability durability)
{
    AtomicFileWriter writer(path, durability);
    writer.Write(data.data(), data.size());
    writer.Commit();
}

void RemoveStaleTemporaries(const std::string& path, std::chrono::seconds minimumAge) noexcept
{
    std::string target;
    try {
        target = ResolveLinks(path);
    } catch (...) {
        return;
    }
    const std::string folder = FolderOf(target);
    const std::string prefix = TemporaryPrefix(target);
    DIR* directory = opendir(folder.c_str());
    if (!directory) return;
    const std::time_t staleBefore = std::time(nullptr) - minimumAge.count();
    while (const dirent* entry = readdir(directory)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix) || !IsTemporarySuffix(name.substr(prefix.size()))) continue;
        struct stat info {};
        if (fstatat(dirfd(directory), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(info.st_mode) && info.st_uid == geteuid() && info.st_mtime < staleBefore)
            unlinkat(dirfd(directory), entry->d_name, 0);
    }
    closedir(directory);
}

}  // namespace selvane::platform
