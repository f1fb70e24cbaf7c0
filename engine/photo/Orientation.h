// Turning a picture as its orientation says, numbered as EXIF numbers it: 1 as stored,
// 2 mirrored left to right, 3 turned half round, 4 mirrored top to bottom, 5 mirrored
// along the main diagonal, 6 turned a quarter clockwise, 7 mirrored along the other
// diagonal, 8 turned a quarter anticlockwise. Pixels are moved, never resampled.
#pragma once

#include "engine/Raster.h"

namespace selvane {

// True for 2 to 8: the picture must be turned to be seen as meant.
bool TurnsPicture(int orientation);
// True for 5 to 8: width and height trade places.
bool SwapsSides(int orientation);

// The picture turned; orientation 1 or a value outside 1 to 8 gives it as stored.
Raster Oriented(Raster stored, int orientation);

}  // namespace selvane
