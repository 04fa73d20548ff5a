// The last step of rendering: one finished pixel of the glue layer is combined
// with the source pixel at the same place and written to the render target.
#pragma once

#include <cstdint>

#include "glue/CompositorTargets.h"
#include "render/RenderJob.h"

namespace stellane {

// A finished pixel of the glue layer: 1.0 is full intensity, values above it
// are allowed (the compositor spills them into the other channels).
struct RenderedPixel {
  float red;
  float green;
  float blue;
  float alpha;
};

// Reads the source pixel at (x, y) of the place the job's destination, blends
// `pixel` onto it with the glue mode of the job's parameters and writes the
// result (and the transparency value) at (x, y). Coordinates outside the
// target are clamped into it. `pixel` is scaled in place: callers must not
// use it afterwards.
void CompositeGluePixel(std::int32_t x, std::int32_t y, RenderedPixel& pixel, const RenderJob& job);

// The same for a whole row: what depends only on the row (the target, its
// format, the glue mode) is resolved once, then each pixel costs the blend.
struct GlueRow {
  bool open;  // false: nowhere to write, pixels are dropped
  CompositeSite site;
  std::int32_t glue;
  const std::int32_t* weights;
};
void OpenGlueRow(const RenderJob& job, std::int32_t y, GlueRow& row);
void CompositeGlueRowPixel(GlueRow& row, std::int32_t x, RenderedPixel& pixel);

}  // namespace stellane
