#include "source/DriveItems.h"

#include <QString>

namespace selvane {

namespace {

std::string Lower(const std::string& text)
{
    return QString::fromStdString(text).toLower().toStdString();
}

}  // namespace

std::vector<platform::Drive> ListedDrives(const platform::MountSources& sources)
{
    std::vector<platform::Drive> drives = platform::PickableDrives(platform::ReadDrives(sources));
    std::erase_if(drives,
                  [](const platform::Drive& drive) { return drive.kind == platform::DriveKind::Other; });
    return drives;
}

std::string DriveItemText(const platform::Drive& drive)
{
    using platform::DriveKind;
    if (drive.kind == DriveKind::Removable) return drive.mountPoint;
    if (drive.kind == DriveKind::Network && !drive.device.empty())
        return drive.mountPoint + " " + Lower(drive.device);
    return drive.mountPoint + " [" + Lower(drive.label) + "]";
}

GlyphId DriveGlyph(platform::DriveKind kind)
{
    switch (kind) {
    case platform::DriveKind::Removable: return GlyphId::Floppy;
    case platform::DriveKind::Network: return GlyphId::Network;
    case platform::DriveKind::CdRom: return GlyphId::CdRom;
    case platform::DriveKind::Ram: return GlyphId::Ram;
    case platform::DriveKind::Fixed:
    case platform::DriveKind::Other: break;
    }
    return GlyphId::Hard;
}

std::string DriveOfFolder(const std::vector<platform::Drive>& drives, const std::string& path)
{
    const platform::Drive* drive = platform::DriveOfPath(drives, path);
    return drive ? drive->mountPoint : "/";
}

}  // namespace selvane
