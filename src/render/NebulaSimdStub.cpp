#include "render/NebulaSimd.h"
namespace stellane {
bool CpuHasAvx2() { return false; }
int NebulaAtAvx2(const RenderContext&, const NebulaRowConstants&, const float*, const float*, int,
                 NebulaSample*) {
  return 0;
}
int NebulaAtSse2(const RenderContext&, const NebulaRowConstants&, const float*, const float*, int,
                 NebulaSample*) {
  return 0;
}
}  // namespace stellane
