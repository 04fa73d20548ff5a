// The band renderer: one row per call. For every pixel it computes the nebula
// and the star light, lets a star be born, spreads the star light with the
// glow cross, veils the stars behind bright nebula and hands the colour to
// the compositor.
#include <xmmintrin.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "glue/Compositor.h"
#include "render/CrtRandom.h"
#include "render/GlowRing.h"
#include "render/NebulaBatch.h"
#include "render/RenderContext.h"
#include "render/RenderRowPaths.h"
#include "render/Renderer.h"
#include "render/RowStars.h"
#include "render/StarField.h"

namespace stellane {

namespace {

struct RowConstants {
  std::int32_t zoom;
  std::int64_t firstColumn;  // panX / zoom: the full-size column of pixel 0, over zoom
  float rowPosition;         // panY / zoom + y
  float zoomF;
  float freq;
  float colourFactor;
  float opacityFactor;
  std::int32_t width;
  NebulaRowConstants nebula;
  StarRowConstants stars;
};

// The destination's row width, never more than the ring holds (workWidth + 2
// columns).
std::int32_t RowWidth(const RenderJob& job) {
  std::int32_t width = job.destination.columns;
  width = std::min(width, job.workWidth);
  width = std::min(width, GlowRingColumns(*job.ring) - 2);
  return std::max(0, width);
}

RowConstants MakeRowConstants(const RenderJob& job, std::int32_t y) {
  const RenderParams& p = *job.params;
  RowConstants k;
  // A zoom below 1 has no meaning (and 0 would divide by zero): render at 1.
  k.zoom = std::max(1, p.previewZoom);
  k.firstColumn = static_cast<std::int64_t>(p.previewPanX / k.zoom);
  k.rowPosition = static_cast<float>(static_cast<std::int64_t>(p.previewPanY / k.zoom) + y);
  k.zoomF = static_cast<float>(k.zoom);
  k.freq = NebulaFrequency(p);
  k.colourFactor = static_cast<float>(p.color * 0.02);
  k.opacityFactor = static_cast<float>(p.opacity * 0.01) * 2.0f;
  k.width = RowWidth(job);
  k.nebula = MakeNebulaRowConstants(p);
  k.stars = MakeStarRowConstants(p, k.zoom);
  return k;
}

// The row's draw cursor, from the tables and one `rand`.
std::uint32_t RowCursor(const RenderContext& c, std::int32_t y) {
  const std::uint32_t yy = static_cast<std::uint32_t>(y);
  const std::uint32_t sum =
      static_cast<std::uint32_t>(c.randomBytes[(yy + 34) & kTableMask]) * 256u +
      static_cast<std::uint32_t>(c.randomBytes[yy & kTableMask]) +
      static_cast<std::uint32_t>(CrtRand());
  return (sum & 0xffffu) & kTableMask;
}

float ClampedAtZero(float v) { return v > 0.0f ? v : 0.0f; }

// Star colour saturation: 0 grey, 1 unchanged, 2 doubled.
void Saturate(const StarLight& light, float factor, float out[3]) {
  const float luma = 0.6f * light.green + 0.3f * light.red + 0.1f * light.blue;
  out[0] = ClampedAtZero((light.red - luma) * factor + luma);
  out[1] = ClampedAtZero((light.green - luma) * factor + luma);
  out[2] = ClampedAtZero((light.blue - luma) * factor + luma);
}

// The compositor converts channels to integers; a NaN (from parameters far
// outside their range) becomes 0 and infinity the largest float.
float FinishedChannel(double v) {
  if (!(v > 0.0)) return 0.0f;
  return v < FLT_MAX ? static_cast<float>(v) : FLT_MAX;
}

}  // namespace

RenderStatus RenderRowWith(RenderJob& job, std::int32_t y, RenderPath path) {
  if (!job.params || !job.context || !job.ring || !job.ring->data)
    return RenderStatus::kOutOfMemory;
  if (!HasDestinationPixels(job.destination)) return RenderStatus::kOutOfMemory;
  RenderContext& c = *job.context;
  const RowConstants k = MakeRowConstants(job, y);
  std::uint32_t cur = RowCursor(c, y);

  float* ring = GlowRingData(*job.ring);
  // Rows y, y - 1 and y - 2 (rows before 0 read the cleared ring).
  const std::uint32_t yy = static_cast<std::uint32_t>(y);
  const int slotNow = static_cast<int>((yy + 2) % 3);
  const int slotPrev = static_cast<int>((yy + 1) % 3);
  const int slotOlder = static_cast<int>(yy % 3);
  const float sy = k.rowPosition * k.zoomF;

  // Built on both paths (it only reads the list): an optional one was
  // zero-filled, all 48 KB of it, at every row.
  RowStars rowStars(c, k.stars, sy);
  const bool rowWise = path == RenderPath::Fast;

  GlueRow glueRow;
  OpenGlueRow(job, y, glueRow);
  float nx[kNebulaBatch];
  float ny[kNebulaBatch];
  NebulaSample nebula[kNebulaBatch];
  for (std::int32_t x0 = 0; x0 < k.width; x0 += kNebulaBatch) {
    const int count = static_cast<int>(std::min<std::int32_t>(kNebulaBatch, k.width - x0));
    float sxs[kNebulaBatch];
    for (int i = 0; i < count; ++i) {
      const float col = static_cast<float>(k.firstColumn + x0 + i);
      sxs[i] = col * k.zoomF;
      nx[i] = col * k.freq * k.zoomF;
      ny[i] = k.rowPosition * k.freq * k.zoomF;
    }
    if (path == RenderPath::Fast) {
      NebulaAtBatch(c, k.nebula, nx, ny, count, nebula);
    } else {
      for (int i = 0; i < count; ++i) nebula[i] = NebulaAt(c, k.nebula, nx[i], ny[i]);
    }

    for (int i = 0; i < count; ++i) {
      const std::int32_t x = x0 + i;
      const float sx = sxs[i];
      StarLight light;
      if (rowWise) {
        light = rowStars.Sum(sx);
        cur = rowStars.MaybeBirth(sx, cur);
      } else {
        light = SumStarLight(c, k.stars, sx, sy);
        cur = MaybeBirthStar(c, k.stars, sx, sy, cur);
      }

      float* column = ring + (x + 1) * kGlowFloatsPerColumn;
      Saturate(light, k.colourFactor, column + slotNow * 3);

      const NebulaSample& n = nebula[i];
      float neb[3];
      for (int ch = 0; ch < 3; ++ch)
        neb[ch] = ClampedAtZero(n.densityB * n.colourB[ch] + n.densityA * n.colourA[ch]);
      const float nl = 0.6f * neb[1] + 0.3f * neb[0] + 0.1f * neb[2];
      float veil = ClampedAtZero(k.opacityFactor * nl - 0.3f);
      veil = std::min(1.0f, veil * veil);
      const float visible = 1.0f - veil;
      // Without nebula (nl 0) the weight is 1 - e^0 = 0.
      const float weight = nl != 0.0f ? 1.0f - std::exp(-0.4f * nl) : 0.0f;

      // The glow cross, centred one row above: 12 at the centre, 1 on each arm.
      const float* left = column - kGlowFloatsPerColumn;
      const float* right = column + kGlowFloatsPerColumn;
      const auto finished = [&](int ch) {
        const float pair = left[slotPrev * 3 + ch] + column[slotOlder * 3 + ch];
        const double glow = static_cast<double>(pair) + 12.0 * column[slotPrev * 3 + ch] +
                            right[slotPrev * 3 + ch] + column[slotNow * 3 + ch];
        return FinishedChannel(glow * 0.03 * visible + weight * neb[ch]);
      };
      // Stored in one piece: the compositor reads the four floats in one
      // piece too, and a read that spans several smaller stores stalls.
      const __m128 four = _mm_setr_ps(finished(0), finished(1), finished(2), 1.0f);
      RenderedPixel pixel;
      static_assert(sizeof pixel == sizeof four);
      std::memcpy(&pixel, &four, sizeof pixel);
      CompositeGlueRowPixel(glueRow, x, pixel);
    }
  }

  // Row y - 2's slot becomes row y + 1's.
  ClearGlowSlot(*job.ring, job.workWidth, slotOlder);
  return RenderStatus::kDone;
}

RenderStatus RenderRow(RenderJob& job, std::int32_t row) {
  return RenderRowWith(job, row, RenderPath::Fast);
}

}  // namespace stellane
