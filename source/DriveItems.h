// The drives of the drive box and the folder tree, without the widget: the mounts a person
// would pick (platform::PickableDrives, "/" first), each shown with its kind's glyph and a
// text after its kind:
//
//   removable          the mount point alone ("/media/ann/USB")
//   fixed, CD-ROM, RAM the mount point, " " and the label lower-cased in brackets ("/ [root]")
//   network            the mount point, " " and the share (the mount's device), lower-cased;
//                      the bracketed label when there is no device
//
// Reads the mount table as text, touching no medium; never throws.
#pragma once

#include "platform/Drives.h"
#include "source/Glyphs.h"

#include <string>
#include <vector>

namespace selvane {

// The drives in the order the box lists them; kernel and system mounts are left out.
std::vector<platform::Drive> ListedDrives(const platform::MountSources& sources = {});

std::string DriveItemText(const platform::Drive& drive);
GlyphId DriveGlyph(platform::DriveKind kind);

// The mount point of the listed drive that holds path (the longest mount-point prefix),
// or "/" when none does.
std::string DriveOfFolder(const std::vector<platform::Drive>& drives, const std::string& path);

}  // namespace selvane
