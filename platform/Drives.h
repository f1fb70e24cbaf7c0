// Mounted file systems presented as the drives of the folder dialog and the path edit.
//
// The mount table is read as text; no mounted file system is touched, so a removable or
// network medium that does not answer never blocks the call. Labels come from the names of
// the symbolic links in /dev/disk/by-label. Never throws: an unreadable table gives no
// drives. Safe to call from any thread.
#pragma once

#include <string>
#include <vector>

namespace selvane::platform {

enum class DriveKind {
    Other,      // kernel and system file systems (proc, sysfs, cgroup, ...)
    Removable,  // mounted under /media or /run/media
    Fixed,      // local disk file systems
    Network,    // nfs, cifs, sshfs, ...
    CdRom,      // iso9660, udf
    Ram,        // tmpfs, ramfs
};

struct Drive {
    std::string mountPoint;  // absolute, escapes of the table undone
    std::string device;
    std::string fileSystem;
    DriveKind kind = DriveKind::Other;
    // The file system's label, or else the mount point's last name ("/" for the root).
    std::string label;
};

// Where the mounts are read from; tests point these at files of their own.
struct MountSources {
    std::string mountTable = "/proc/self/mounts";
    std::string fallbackTable = "/etc/mtab";  // read when the first cannot be opened
    std::string labelFolder = "/dev/disk/by-label";
};

// Every mount in table order (a later mount on the same point hides an earlier one).
std::vector<Drive> ReadDrives(const MountSources& sources = {});

// The drive that holds path: the one whose mount point is the longest prefix of it, by
// whole path components. Null when none does (a relative path, or a table without "/").
// The pointer refers into drives.
const Drive* DriveOfPath(const std::vector<Drive>& drives, const std::string& path);

// The drives a person would pick: "/" first, then the others by mount point, one per
// mount point, leaving out system file systems and the mounts under /proc, /sys, /dev,
// /run (but /run/media), /boot, /etc, /snap and /var/lib.
std::vector<Drive> PickableDrives(const std::vector<Drive>& drives);

}  // namespace selvane::platform
