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

// Lattices derived from the tables for the vector noise: each cell's four
// corners in one unaligned 32-bit read, X and Y taken modulo 256.
//
// valueCorners[X * 257 + Y] holds the randomBytes behind value-noise lattice
// points (X, Y) in its low byte and (X + 1, Y) in its high byte (Y = 256
// standing for 0), so the read at X * 257 + Y yields (X, Y), (X + 1, Y),
// (X, Y + 1), (X + 1, Y + 1) byte by byte. A corner's lattice value is its
// byte / 255 as a float, which is exactly its uniformTable entry.
//
// gradientCorners[X * 256 + Y] holds the four gradient hashes of cell (X, Y),
// four bits each in the order (X, Y), (X + 1, Y), (X, Y + 1), (X + 1, Y + 1);
// two entries of padding follow for the read.
struct NoiseLattices {
  std::uint16_t valueCorners[256 * 257];
  std::uint16_t gradientCorners[256 * 256 + 2];
};

// Needs the permutations.
void BuildNoiseLattices(const RenderContext& c, NoiseLattices& lattices);

}  // namespace stellane
