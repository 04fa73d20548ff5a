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

}  // namespace stellane
