// The seeded random tables of a rendering, rebuilt from `randomSeed` before
// every rendering so that the same seed always gives the same nebulae.
#pragma once

#include <cstdint>

#include "render/RenderContext.h"

namespace stellane {

// The 256-entry permutation published with the reference implementation of
// improved noise (Ken Perlin, 2002).
extern const std::int32_t kImprovedNoisePermutation[256];

// randomBytes, uniformTable and bellTable from the fixed table and the seed.
void BuildRandomTables(RenderContext& c, std::int32_t seed);

// valuePerm (from randomBytes, so after BuildRandomTables), gradientPerm, and
// the lookup tables derived from them.
void BuildPermutations(RenderContext& c, std::int32_t seed);

// The value-noise lattice in column pairs: entry X * 257 + Y holds the
// randomBytes behind lattice points (X, Y) in its low byte and (X + 1, Y) in
// its high byte (X + 1 modulo 256, Y = 256 standing for 0). So one unaligned
// 32-bit read at entry X * 257 + Y yields the four corners of cell (X, Y). A
// corner's lattice value is its byte / 255 as a float, which is exactly its
// uniformTable entry. Needs the permutations.
constexpr int kCornerLatticeEntries = 256 * 257;
constexpr int kCornerLatticeBytes = kCornerLatticeEntries * 2;
void BuildCornerLattice(const RenderContext& c, std::uint16_t* lattice);

}  // namespace stellane
