// The fixed pseudo-random table every seeded table is built from: 2048 values
// in 0..2047, the same on every run. Generated once by
// tools/generators/MakeFixedRandom.cpp.
#pragma once

#include <cstdint>

namespace stellane {

constexpr int kFixedRandomCount = 2048;
extern const std::uint16_t kFixedRandom[kFixedRandomCount];

}  // namespace stellane
