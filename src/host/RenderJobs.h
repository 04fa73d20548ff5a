// The plug-in's side of the render core: the run's job, the host's buffers as
// the destination of finished pixels, and the core's status as a host result.
#pragma once

#include <cstdint>

#include "host/Globals.h"
#include "render/RenderJob.h"

namespace stellane {

// 8-bit grey/RGB at depth below 9, 16-bit Gray16/RGB48 at depth 16, float for
// the 32-bit modes or depth 32; anything else is kOther.
ImageKind ImageKindOf(const ps::FilterRecord& fr);

// The destination of the run's render target: the host's output row, or the
// preview buffers with the selection mask. Needs the filter record.
RenderDestination HostDestination(const Globals& g);

// The run's job: its parameters, context, row ring (backed by the host's
// buffer suite), work area, HostDestination and the host's progress and
// abort procs.
// Needs the filter record.
RenderJob RunJob(Globals& g);

ps::OSErr HostResult(RenderStatus status);

// PrepareRendering for the run, then the row bookkeeping of a new rendering.
ps::OSErr PrepareRun(Globals& g);

// Renders row `row` of the run's `job`.
ps::OSErr RenderRunRow(RenderJob& job, std::int32_t row);

}  // namespace stellane
