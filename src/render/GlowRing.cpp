#include "render/GlowRing.h"

#include <algorithm>

namespace stellane {

namespace {

std::int32_t ClearedColumns(const Globals& g) {
  return std::min(std::max(0, g.workWidth) + 2, GlowRingColumns(g));
}

}  // namespace

void ClearGlowRing(Globals& g) {
  float* ring = GlowRingData(g);
  const std::int32_t columns = ClearedColumns(g);
  std::fill(ring, ring + columns * kGlowFloatsPerColumn, 0.0f);
}

void ClearGlowSlot(Globals& g, int slot) {
  float* ring = GlowRingData(g);
  const std::int32_t columns = ClearedColumns(g);
  for (std::int32_t p = 0; p < columns; ++p) {
    float* v = ring + p * kGlowFloatsPerColumn + slot * 3;
    v[0] = v[1] = v[2] = 0.0f;
  }
}

}  // namespace stellane
