// The row ring block. It starts with the glow ring: the star light of the
// last three rows, which the glow kernel reads. Column p + 1 holds pixel
// column p; columns 0 and W + 1 are a border that stays 0. Each column holds
// three row slots of R, G, B, nine floats. The block ends with the noise
// corner lattice of the rendering (BuildCornerLattice).
#pragma once

#include <cstdint>

#include "host/Globals.h"
#include "render/RandomTables.h"

namespace stellane {

constexpr int kGlowFloatsPerColumn = 9;
constexpr std::int32_t kGlowColumnBytes = kGlowFloatsPerColumn * 4;

inline float* GlowRingData(Globals& g) { return static_cast<float*>(g.buffers.rowRing.data); }

// Columns the ring can hold.
inline std::int32_t GlowRingColumns(const Globals& g) {
  const std::int32_t ringBytes = g.buffers.rowRing.size - kCornerLatticeBytes;
  return g.buffers.rowRing.data && ringBytes > 0 ? ringBytes / kGlowColumnBytes : 0;
}

// Block size for `columns` glow columns and the lattice.
constexpr std::int32_t RowRingBlockBytes(std::int32_t columns) {
  return columns * kGlowColumnBytes + kCornerLatticeBytes;
}

// The lattice at the end of the block; only once the block was fitted.
inline std::uint16_t* CornerLatticeData(Globals& g) {
  auto* end = static_cast<unsigned char*>(g.buffers.rowRing.data) + g.buffers.rowRing.size;
  return reinterpret_cast<std::uint16_t*>(end - kCornerLatticeBytes);
}

// Sets every slot of columns 0 .. workWidth + 1 to 0 (as far as the ring goes).
void ClearGlowRing(Globals& g);

// Sets one slot of columns 0 .. workWidth + 1 to 0.
void ClearGlowSlot(Globals& g, int slot);

}  // namespace stellane
