// The renderer as its drivers see it.
#pragma once

#include <cstdint>

#include "render/RenderJob.h"

namespace stellane {

// Seeds the tables, fits the glow ring and clears the star pool for a new
// rendering.
RenderStatus PrepareRendering(RenderJob& job);

// Renders and composites row `row` of the work area into the destination.
RenderStatus RenderRow(RenderJob& job, std::int32_t row);

// PrepareRendering, then every row of the work area in order, reporting
// through the job's progress before each row and asking it after each.
RenderStatus RenderAllRows(RenderJob& job);

}  // namespace stellane
