// The five noise functions over the seeded tables. They only read the
// context, so any number of evaluations may run once the tables are built.
// Every rounding to float below is part of the result: the vector paths
// repeat it operation for operation.
#pragma once

#include <cmath>
#include <cstdint>

#include "render/NebulaConstants.h"
#include "render/RenderContext.h"

namespace stellane {

// Improved gradient noise in the plane, roughly in [-1, 1]; 0 at lattice points.
float GradientNoise(const RenderContext& c, float x, float y);

// Bilinear lattice noise in [0, 1].
float ValueNoise(const RenderContext& c, float x, float y);

// Sum of rotated, scaled octaves of ValueNoise, each centred on 0.
float FibreNoise(const RenderContext& c, float x, float y, float octaves, float gain);

// Multiplicative cascade of ValueNoise octaves.
float CloudNoise(const RenderContext& c, float x, float y, float octaves, bool centred, float gain);

// Offset CloudNoise layers folded into a ridge; never above 1.
float TextureNoise(const RenderContext& c, float x, float y, float octaves, int passes, float gain);

// The low 8 bits of a floored lattice coordinate. Floats of magnitude 2^31
// and beyond are multiples of 256, so 0 is their exact answer; NaN also
// gives 0 (instead of an undefined conversion).
inline std::int32_t LatticeLow8(float floored) {
  if (!(std::fabs(floored) < 2147483648.0f)) return 0;
  return static_cast<std::int32_t>(floored) & 255;
}

}  // namespace stellane
