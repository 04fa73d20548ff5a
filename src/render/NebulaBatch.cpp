#include "render/NebulaBatch.h"

#include "render/NebulaSimd.h"
#include "render/RandomTables.h"

namespace stellane {

void NebulaAtBatch(const RenderContext& c, const NebulaRowConstants& k, const float* nx,
                   const float* ny, int count, NebulaSample* out) {
  if (!k.on) {
    for (int i = 0; i < count; ++i) out[i] = NebulaSample{};
    return;
  }
  int done = 0;
  if (!c.lattices) {
    // Tables without their lattice (not prepared for rendering): pixel by pixel.
  } else if (CpuHasAvx2()) {
    done = NebulaAtAvx2(c, k, nx, ny, count, out);
  } else {
    done = NebulaAtSse2(c, k, nx, ny, count, out);
  }
  for (int i = done; i < count; ++i) out[i] = NebulaAt(c, k, nx[i], ny[i]);
}

}  // namespace stellane
