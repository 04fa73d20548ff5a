// The row-by-row walk over the work area: one row requested from the host,
// rendered and composited per step, with the host's progress and abort procs
// asked through the job's throttle (ProgressThrottle.h).
#pragma once

#include <cstdint>

#include "host/Globals.h"

namespace stellane {

// Fills the host's request fields for row `rowIndex` of the filter rectangle.
void RequestRow(Globals& g);

// Renders row `rowIndex`, advances the counters and tests for a cancel;
// returns the row's result.
ps::OSErr RowStep(Globals& g);

// Whether a preview row is drawn: "8BIM" and "8ELE" hosts only every 100th.
bool ShouldDisplayPreviewRow(const Globals& g, std::int32_t row);

// Renders the whole work area without host row requests (preview, exports).
ps::OSErr WholeImageRender(Globals& g);

// The compositor's table, set up at the start of every rendering.
void BeginRendering(Globals& g);

}  // namespace stellane
