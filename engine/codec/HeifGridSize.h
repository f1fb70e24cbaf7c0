// The canvases a HEIF file's grid items ask for, read from the file's own boxes (iinf,
// iloc, idat) before libheif allocates one: libheif 1.15 takes the canvas size from the
// grid's item data, not from the size the file declares and the pixel cap was checked
// against, so a few bytes could make it allocate gigabytes. Where a damaged file can be
// read in more than one way, every reading counts.
#pragma once

#include "engine/codec/Decoders.h"

#include <vector>

namespace selvane {

// Every canvas size a grid item of the file may ask for, under every reading a decoder may
// take: each meta box and each of its item information, location and data boxes, and an
// item location box of version 1 with an extent index read with that index and without it
// (libheif 1.15 reads it without). Never reads outside the file.
std::vector<PictureDimensions> GridCanvasSizes(ByteSpan file);

}  // namespace selvane
