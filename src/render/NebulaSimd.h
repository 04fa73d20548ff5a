// The vector kernels behind NebulaAtBatch. Each handles whole groups of its
// width and returns how many pixels it did; the caller finishes the rest.
#pragma once

#include "render/Nebula.h"

namespace stellane {

bool CpuHasAvx2();

int NebulaAtAvx2(const RenderContext& c, const NebulaRowConstants& k, const float* nx,
                 const float* ny, int count, NebulaSample* out);
int NebulaAtSse2(const RenderContext& c, const NebulaRowConstants& k, const float* nx,
                 const float* ny, int count, NebulaSample* out);

}  // namespace stellane
