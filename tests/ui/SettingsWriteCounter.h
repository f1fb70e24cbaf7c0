// Counts the times the settings file is replaced, by watching its folder with inotify: the
// settings file class writes every key by renaming a complete new file over the old one,
// so one save of n keys shows as n renames. The creations of the temporary files are
// watched too, only so that the kernel never merges two renames in a row into one event.
#pragma once

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace selvane::test {

class SettingsWriteCounter {
public:
    SettingsWriteCounter(const std::filesystem::path& folder, std::string name) : name_(std::move(name))
    {
        descriptor_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (descriptor_ < 0 || inotify_add_watch(descriptor_, folder.c_str(), IN_CREATE | IN_MOVED_TO) < 0)
            throw std::runtime_error("cannot watch " + folder.string());
    }
    ~SettingsWriteCounter() { close(descriptor_); }
    SettingsWriteCounter(const SettingsWriteCounter&) = delete;
    SettingsWriteCounter& operator=(const SettingsWriteCounter&) = delete;

    // Renames onto the file since the last call (the kernel has queued them all by now,
    // since every write returned before this call).
    int Renames()
    {
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t length; (length = read(descriptor_, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if ((event->mask & IN_MOVED_TO) && event->len > 0 && name_ == event->name) ++renames_;
                at += sizeof(inotify_event) + event->len;
            }
        }
        return renames_;
    }

private:
    int descriptor_ = -1;
    std::string name_;
    int renames_ = 0;
};

}  // namespace selvane::test
