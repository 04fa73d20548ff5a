// The CIELAB-like conversion of the colour-space glue modes: tetrahedral
// interpolation in the two generated lattices (see LabLattices.h).
#pragma once

#include <cstdint>

namespace stellane {

struct Triple {
  std::int32_t c0;
  std::int32_t c1;
  std::int32_t c2;
};

constexpr float kLatticeStep8 = 17.0f;
constexpr float kLatticeStep16 = 2184.5334f;

// Interpolates `lattice` at three channel values 0..(15 x step). With step 17
// the result is in 8-bit units; with step 2184.5334 in 16-bit units (a lattice
// byte of 255 becomes 32760).
Triple LatticeLookup(std::int32_t c0, std::int32_t c1, std::int32_t c2, const std::uint8_t* lattice,
                     float step);

// RGB to (lightness, a + half, b + half), in 0..255 or 0..32768.
Triple LabForward(std::int32_t red, std::int32_t green, std::int32_t blue, bool eightBit);
// (lightness, a + half, b + half) back to RGB, clipped to the gamut.
Triple LabInverse(std::int32_t lightness, std::int32_t a, std::int32_t b, bool eightBit);

}  // namespace stellane
