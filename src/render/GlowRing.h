// The glow ring: the star light of the last three rows, which the glow kernel
// reads. Column p + 1 holds pixel column p; columns 0 and W + 1 are a border
// that stays 0. Each column holds three row slots of R, G, B, nine floats.
#pragma once

#include <cstdint>

#include "host/Globals.h"

namespace stellane {

constexpr int kGlowFloatsPerColumn = 9;
constexpr std::int32_t kGlowColumnBytes = kGlowFloatsPerColumn * 4;

inline float* GlowRingData(Globals& g) { return static_cast<float*>(g.buffers.rowRing.data); }

// Columns the ring can hold.
inline std::int32_t GlowRingColumns(const Globals& g) {
  return g.buffers.rowRing.data ? g.buffers.rowRing.size / kGlowColumnBytes : 0;
}

// Sets every slot of columns 0 .. workWidth + 1 to 0 (as far as the ring goes).
void ClearGlowRing(Globals& g);

// Sets one slot of columns 0 .. workWidth + 1 to 0.
void ClearGlowSlot(Globals& g, int slot);

}  // namespace stellane
