#include "platform/Drives.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace selvane::platform {

namespace {

constexpr std::array kLocalDiskFileSystems = {
    "ext2", "ext3",  "ext4",  "xfs",  "btrfs", "f2fs",    "jfs", "reiserfs", "zfs",  "bcachefs", "nilfs2",
    "vfat", "msdos", "exfat", "ntfs", "ntfs3", "fuseblk", "hfs", "hfsplus",  "apfs", "ufs",      "overlay"};
constexpr std::array kNetworkFileSystems = {
    "nfs",       "nfs4",           "cifs",       "smb3",  "smbfs", "ncpfs",      "afs",
    "ceph",      "glusterfs",      "9p",         "davfs", "sshfs", "fuse.sshfs", "fuse.rclone",
    "fuse.s3fs", "fuse.glusterfs", "fuse.davfs2"};
constexpr std::array kCdRomFileSystems = {"iso9660", "udf"};
constexpr std::array kRamFileSystems = {"tmpfs", "ramfs"};
constexpr std::array kSystemFolders = {"/proc", "/sys", "/dev", "/run", "/boot", "/etc", "/snap", "/var/lib"};

template <std::size_t N>
bool IsOneOf(const std::string& value, const std::array<const char*, N>& list)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool IsAtOrUnder(const std::string& path, const std::string& folder)
{
    if (folder == "/") return !path.empty() && path[0] == '/';
    return path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

// The mount table writes space, tab, newline and backslash as a backslash and three octal
// digits.
std::string UndoOctalEscapes(const std::string& field)
{
    std::string result;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](std::size_t at) { return field[at] >= '0' && field[at] <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            result += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                        (field[i + 3] - '0'));
            i += 3;
        } else {
            result += field[i];
        }
    }
    return result;
}

// udev names the label links with "\xHH" for characters that cannot stand in a file name
// (a "/" or a space in the label).
std::string UndoHexEscapes(const std::string& name)
{
    std::string result;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name.compare(i, 2, "\\x") == 0 && i + 3 < name.size() &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            result += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            result += name[i];
        }
    }
    return result;
}

// The device node a path finally names; the path itself when it cannot be resolved.
std::string ResolveDevice(const std::string& path)
{
    if (path.empty() || path[0] != '/') return path;
    char buffer[PATH_MAX];
    if (realpath(path.c_str(), buffer)) return buffer;
    return std::filesystem::path(path).lexically_normal().string();
}

// Device node -> label, from the links of the label folder.
std::map<std::string, std::string> ReadLabels(const std::string& labelFolder)
{
    std::map<std::string, std::string> labels;
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(labelFolder.c_str()), closedir);
    if (!directory) return labels;
    while (const dirent* entry = readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        char target[PATH_MAX];
        const ssize_t length = readlink((labelFolder + "/" + name).c_str(), target, sizeof target - 1);
        if (length <= 0) continue;
        std::string device(target, static_cast<std::size_t>(length));
        if (device[0] != '/') device = labelFolder + "/" + device;
        labels[ResolveDevice(device)] = UndoHexEscapes(name);
    }
    return labels;
}

DriveKind KindOf(const std::string& mountPoint, const std::string& device, const std::string& fileSystem)
{
    if (IsOneOf(fileSystem, kRamFileSystems)) return DriveKind::Ram;
    if (IsOneOf(fileSystem, kCdRomFileSystems)) return DriveKind::CdRom;
    // "//server/share" and "host:/path" are how network mounts name their source.
    if (IsOneOf(fileSystem, kNetworkFileSystems) || device.rfind("//", 0) == 0 ||
        device.find(":/") != std::string::npos)
        return DriveKind::Network;
    if (IsAtOrUnder(mountPoint, "/media") || IsAtOrUnder(mountPoint, "/run/media"))
        return DriveKind::Removable;
    if (IsOneOf(fileSystem, kLocalDiskFileSystems) || device.rfind("/dev/", 0) == 0) return DriveKind::Fixed;
    return DriveKind::Other;
}

std::string LastName(const std::string& mountPoint)
{
    return mountPoint == "/" ? mountPoint : mountPoint.substr(mountPoint.rfind('/') + 1);
}

}  // namespace

std::vector<Drive> ReadDrives(const MountSources& sources)
{
    std::ifstream table(sources.mountTable);
    if (!table) table.open(sources.fallbackTable);
    std::vector<Drive> drives;
    if (!table) return drives;

    const auto labels = ReadLabels(sources.labelFolder);
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, fileSystem;
        if (!(fields >> device >> mountPoint >> fileSystem)) continue;
        Drive drive;
        drive.device = UndoOctalEscapes(device);
        drive.mountPoint = UndoOctalEscapes(mountPoint);
        drive.fileSystem = UndoOctalEscapes(fileSystem);
        if (drive.mountPoint.empty() || drive.mountPoint[0] != '/') continue;
        drive.kind = KindOf(drive.mountPoint, drive.device, drive.fileSystem);
        const auto label = labels.find(ResolveDevice(drive.device));
        drive.label = label != labels.end() ? label->second : LastName(drive.mountPoint);
        drives.push_back(std::move(drive));
    }
    return drives;
}

const Drive* DriveOfPath(const std::vector<Drive>& drives, const std::string& path)
{
    const Drive* best = nullptr;
    for (const Drive& drive : drives) {
        if (IsAtOrUnder(path, drive.mountPoint) &&
            (!best || drive.mountPoint.size() >= best->mountPoint.size()))
            best = &drive;
    }
    return best;
}

std::vector<Drive> PickableDrives(const std::vector<Drive>& drives)
{
    std::map<std::string, const Drive*> topmost;
    for (const Drive& drive : drives) topmost[drive.mountPoint] = &drive;

    std::vector<Drive> pickable;
    for (const auto& [mountPoint, drive] : topmost) {
        // Named, not captured as a binding: clang before 16 cannot capture structured bindings.
        const std::string& point = mountPoint;
        const bool system = std::any_of(kSystemFolders.begin(), kSystemFolders.end(),
                                        [&](const char* folder) { return IsAtOrUnder(point, folder); }) &&
                            !IsAtOrUnder(mountPoint, "/run/media");
        if (mountPoint == "/" || (drive->kind != DriveKind::Other && !system)) pickable.push_back(*drive);
    }
    // The map is ordered by mount point, and "/" sorts before every other absolute path.
    return pickable;
}

}  // namespace selvane::platform
