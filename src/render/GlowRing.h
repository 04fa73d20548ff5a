// The row ring block. It starts with the glow ring: the star light of the
// last three rows, which the glow kernel reads. Column p + 1 holds pixel
// column p; columns 0 and W + 1 are a border that stays 0. Each column holds
// three row slots of R, G, B, nine floats. The block ends with the noise
// lattices of the rendering (BuildNoiseLattices).
#pragma once

#include <cstdint>

#include "image/MemoryBlocks.h"
#include "render/RandomTables.h"

namespace stellane {

constexpr int kGlowFloatsPerColumn = 9;
constexpr std::int32_t kGlowColumnBytes = kGlowFloatsPerColumn * 4;
constexpr std::int32_t kNoiseLatticesBytes = sizeof(NoiseLattices);
// Blocks hold whole columns, so the lattices stay 4-byte aligned.
static_assert(kNoiseLatticesBytes % 4 == 0);

inline float* GlowRingData(const MemoryBlock& ring) { return static_cast<float*>(ring.data); }

// Columns the ring can hold.
inline std::int32_t GlowRingColumns(const MemoryBlock& ring) {
  const std::int32_t ringBytes = ring.size - kNoiseLatticesBytes;
  return ring.data && ringBytes > 0 ? ringBytes / kGlowColumnBytes : 0;
}

// Block size for `columns` glow columns and the lattice.
constexpr std::int32_t RowRingBlockBytes(std::int32_t columns) {
  return columns * kGlowColumnBytes + kNoiseLatticesBytes;
}

// The lattices at the end of the block; only once the block was fitted.
inline NoiseLattices& NoiseLatticesIn(const MemoryBlock& ring) {
  auto* end = static_cast<unsigned char*>(ring.data) + ring.size;
  return *reinterpret_cast<NoiseLattices*>(end - kNoiseLatticesBytes);
}

// Sets every slot of columns 0 .. workWidth + 1 to 0 (as far as the ring goes).
void ClearGlowRing(const MemoryBlock& ring, std::int32_t workWidth);

// Sets one slot of columns 0 .. workWidth + 1 to 0.
void ClearGlowSlot(const MemoryBlock& ring, std::int32_t workWidth, int slot);

}  // namespace stellane
