// The renderer as the run driver sees it.
#pragma once

#include <cstdint>

#include "host/Globals.h"

namespace stellane {

// Seeds the tables, fits the glow ring, clears the star pool and sets the row
// bookkeeping for a new rendering. Writes its status through the result.
void PrepareRendering(Globals& g);

// Renders and composites row `row` of the work area into the render target.
void RenderRow(Globals& g, std::int32_t row);

}  // namespace stellane
