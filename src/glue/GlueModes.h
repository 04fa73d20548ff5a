// The 62 glue modes: how a rendered pixel and the source pixel under it
// combine, for 8-bit (0..255) and 16-bit (0..32768) channels.
#pragma once

#include <cstdint>

#include "glue/GlueNames.h"

namespace stellane {

constexpr int kProceduralWeightCount = 256;

// Fills the 256 weights of the 8-bit "procedural +" mode: a tent over the
// source value, 2 i below 128 and 511 - 2 i from 128 on.
void BuildProceduralWeights(std::int32_t* table256);

// Replaces `rendered` (red, green, blue) by the result of glue mode `mode`
// over `source`. Mode 1 ("normal") and numbers outside 2..62 keep the
// rendered pixel. Both pixels hold values within the channel range, and so
// does the result. `proceduralWeights` is the table of BuildProceduralWeights
// (the 8-bit "procedural +" reads it; null computes the same tent).
void ApplyGlueMode(std::int32_t mode, std::int32_t* rendered, const std::int32_t* source,
                   bool eightBit, const std::int32_t* proceduralWeights);

}  // namespace stellane
