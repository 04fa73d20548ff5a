// Reading the host's source image into a tiled image, for work that needs
// the picture outside the row loop. The host's request fields are borrowed
// for the reads and put back afterwards (short-form request snapshot).
#pragma once

#include "host/Globals.h"
#include "image/TiledImage.h"

namespace stellane {

// Reads `area` of the host's input image (image coordinates, full
// resolution, all planes) into level 0 of `image` from (0, 0), as much as
// fits, in bands of rows requested through advanceState. Returns the first
// non-zero advanceState status, paramErr when the host has no advanceState,
// the area is empty or the image holds no pixels, else noErr. The request
// fields are restored in every case; the result code is left to the caller.
ps::OSErr ReadHostImage(Globals& g, const ps::Rect16& area, TiledImage& image);

}  // namespace stellane
