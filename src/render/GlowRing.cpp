#include "render/GlowRing.h"

#include <algorithm>

namespace stellane {

namespace {

std::int32_t ClearedColumns(const MemoryBlock& ring, std::int32_t workWidth) {
  return std::min(std::max(0, workWidth) + 2, GlowRingColumns(ring));
}

}  // namespace

void ClearGlowRing(const MemoryBlock& block, std::int32_t workWidth) {
  float* ring = GlowRingData(block);
  const std::int32_t columns = ClearedColumns(block, workWidth);
  std::fill(ring, ring + columns * kGlowFloatsPerColumn, 0.0f);
}

void ClearGlowSlot(const MemoryBlock& block, std::int32_t workWidth, int slot) {
  float* ring = GlowRingData(block);
  const std::int32_t columns = ClearedColumns(block, workWidth);
  for (std::int32_t p = 0; p < columns; ++p) {
    float* v = ring + p * kGlowFloatsPerColumn + slot * 3;
    v[0] = v[1] = v[2] = 0.0f;
  }
}

}  // namespace stellane
