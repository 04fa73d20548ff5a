// The compositor's steps: clamp the place, read the source, scale and spill
// the rendered colour, apply the glue mode, write to the render target.
#include "glue/Compositor.h"

#include <algorithm>
#include <cstdint>

#include "glue/CompositorTargets.h"
#include "glue/GlueModes.h"
#include "render/RenderContext.h"

namespace stellane {

namespace {

// Integer channel of a scaled rendered value: truncated, negative as 0. The
// upper limit only keeps absurd values (and infinity) out of the integer
// arithmetic; it lies far above any channel maximum, so the spill sees the
// same excess for every real value.
std::int64_t TruncateChannel(float v) {
  if (!(v > 0.0f)) return 0;
  return v < 1.0e9f ? static_cast<std::int64_t>(v) : 1000000000;
}

// Over-bright channels give part of their excess to the others: with one
// channel over, 60/512 of the excess goes to each other channel (and on
// from there if it overflows); with two over, 60/256 goes to the third.
void Spill(std::int64_t c[3], std::int64_t max) {
  int overCount = 0;
  std::int64_t excess = 0;
  for (int i = 0; i < 3; ++i) {
    if (c[i] > max) {
      ++overCount;
      excess += c[i] - max;
    }
  }
  if (overCount == 1) {
    const std::int64_t share = (excess * 60) >> 9;
    const int over = c[0] > max ? 0 : c[1] > max ? 1 : 2;
    const int first = over == 0 ? 1 : 0;
    const int second = over == 2 ? 1 : 2;
    c[first] += share;
    c[second] += share;
    if (c[first] > max) c[second] += c[first] - max;
    if (c[second] > max) c[first] += c[second] - max;
  } else if (overCount == 2) {
    const int third = c[0] <= max ? 0 : c[1] <= max ? 1 : 2;
    c[third] += (excess * 60) >> 8;
  }
}

}  // namespace

void OpenGlueRow(const RenderJob& job, std::int32_t y, GlueRow& row) {
  row.open = job.params != nullptr && OpenCompositeRow(job.destination, y, row.site);
  if (!row.open) return;
  CopyUncomputedPlanes(row.site);
  row.glue = job.params->glue;
  row.weights = job.context != nullptr ? job.context->proceduralWeights : nullptr;
}

void CompositeGluePixel(std::int32_t x, std::int32_t y, RenderedPixel& pixel,
                        const RenderJob& job) {
  GlueRow row;
  OpenGlueRow(job, y, row);
  CompositeGlueRowPixel(row, x, pixel);
}

void CompositeGlueRowPixel(GlueRow& row, std::int32_t x, RenderedPixel& pixel) {
  if (!row.open) return;
  CompositeSite& site = row.site;
  MoveCompositeSite(site, x);
  const ImageKind kind = site.kind;

  // Scale into channel units; alpha 0.995 already reaches full in integer
  // images.
  pixel.red *= site.unit;
  pixel.green *= site.unit;
  pixel.blue *= site.unit;
  pixel.alpha *= site.unit;
  if (kind == ImageKind::kFloat) {
    const float alpha = std::clamp(pixel.alpha, 0.0f, site.unit);
    float rgb[3] = {pixel.red, pixel.green, pixel.blue};
    if (site.grey) {
      rgb[0] = (150.0f * pixel.green + 77.0f * pixel.red + 28.0f * pixel.blue) * 0.003921568627451f;
    }
    WriteFloatResult(site, rgb, alpha);
    return;
  }

  const std::int32_t max = site.max;
  const float scaledAlpha = pixel.alpha * 1.007f;
  const std::int32_t alpha = static_cast<std::int32_t>(
      std::clamp(TruncateChannel(scaledAlpha), std::int64_t{0}, std::int64_t{max}));
  std::int64_t wide[3] = {TruncateChannel(pixel.red), TruncateChannel(pixel.green),
                          TruncateChannel(pixel.blue)};
  Spill(wide, max);
  if (site.grey) wide[0] = (77 * wide[0] + 150 * wide[1] + 28 * wide[2]) >> 8;
  std::int32_t result[3];
  for (int c = 0; c < 3; ++c)
    result[c] = static_cast<std::int32_t>(std::min<std::int64_t>(wide[c], max));

  std::int32_t source[3];
  ReadSource(site, source);
  ApplyGlueMode(row.glue, result, source, kind == ImageKind::k8, row.weights);
  WriteIntegerResult(site, result, alpha);
}

}  // namespace stellane
