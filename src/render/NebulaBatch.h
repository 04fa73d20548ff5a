// NebulaAt for a run of pixels, on the widest vector unit the CPU has (AVX2,
// else SSE2). Bit-identical to NebulaAt pixel by pixel.
#pragma once

#include "render/Nebula.h"

namespace stellane {

// At most this many pixels per call.
constexpr int kNebulaBatch = 64;

// Samples for the nebula coordinates nx[i], ny[i], i < count.
void NebulaAtBatch(const RenderContext& c, const NebulaRowConstants& k, const float* nx,
                   const float* ny, int count, NebulaSample* out);

}  // namespace stellane
