// The names of the source widgets' small pictures. The listing logic picks a glyph by name;
// only the widgets draw it (source/Glyphs.h).
#pragma once

namespace selvane {

enum class GlyphId {
    Executable,
    UnknownFile,
    ClosedFolder,
    OpenFolder,
    CurrentFolder,
    Floppy,
    Hard,
    Network,
    CdRom,
    Ram,
    Desktop,
    Documents,
};

}  // namespace selvane
