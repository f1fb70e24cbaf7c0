// The canvas a HEIF file's primary item asks for when that item is a grid, read from the
// file's own boxes (pitm, iinf, iloc, idat) before libheif allocates it: libheif 1.15 takes
// the canvas size from the grid's item data, not from the size the file declares and the
// pixel cap was checked against, so a few bytes could make it allocate gigabytes.
#pragma once

#include "engine/codec/Decoders.h"

#include <vector>

namespace selvane {

// Every canvas size the primary grid's item data may be read as: an item location box of
// version 1 with an extent index is read with that index and without it (libheif 1.15
// reads it without), so that no reading a decoder may take is left unchecked. None when
// the primary item is not a grid, or when the boxes cannot be read that far (libheif then
// says what is wrong with them). Never reads outside the file.
std::vector<PictureDimensions> PrimaryGridSizes(ByteSpan file);

}  // namespace selvane
