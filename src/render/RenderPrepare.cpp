// Render preparation: everything a rendering starts from, so that it never
// depends on what an earlier rendering left behind (except `rand`).
#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/GlowRing.h"
#include "render/RandomTables.h"
#include "render/RenderContext.h"
#include "render/Renderer.h"
#include "render/StarField.h"

namespace stellane {

namespace {

// The ring must hold the host's row (inRect width + 4 columns) and, for the
// clearing below, the work width plus its two border columns; the lattice
// follows it in the same block.
bool FitGlowRing(Globals& g) {
  const ps::Rect16& in = g.filterRecord->inRect;
  const std::int32_t inWidth = std::max(0, in.right - in.left);
  g.bufferUnits = inWidth + 4;
  const std::int32_t columns = std::max(g.bufferUnits, std::max(0, g.workWidth) + 2);
  const std::int32_t bytes = RowRingBlockBytes(columns);
  if (bytes <= g.buffers.rowRing.size && g.buffers.rowRing.data) return true;
  ReleaseWorkBuffer(g.filterRecord, g.buffers.rowRing);
  return AllocateWorkBuffer(g.filterRecord, bytes, g.buffers.rowRing);
}

void BuildFalloffTable(RenderContext& c) {
  for (int i = 0; i < kFalloffEntries; ++i) {
    const float s = std::sqrt(1.0f - static_cast<float>(i) / 100.0f);
    const float s6 = s * s * s * s * s * s;
    c.falloffTable[i] = static_cast<float>(s6 * (1.0 / 256.0));
  }
}

}  // namespace

void PrepareRendering(Globals& g) {
  if (!g.filterRecord || !g.params || !g.buffers.renderContext.data) {
    SetResult(g, ps::memFullErr);
    return;
  }
  RenderContext& c = Context(g);
  if (!FitGlowRing(g)) {
    c.lattices = nullptr;  // they lived in the released block
    SetResult(g, ps::memFullErr);
    return;
  }
  BuildRandomTables(c, g.params->randomSeed);
  BuildPermutations(c, g.params->randomSeed);
  BuildNoiseLattices(c, NoiseLatticesIn(g));
  c.lattices = &NoiseLatticesIn(g);
  ClearGlowRing(g);
  ClearStarPool(c);
  c.freeHint = 1;
  c.lastSlot = 1;
  BuildFalloffTable(c);

  g.progressTotal = g.workHeight;
  g.rowIndex = 0;
  g.renderPhase = 1;
  g.loopInternally = 0;
  g.renderStarted = 1;
  g.progressDone = 0;
  g.moreRows = 1;
}

}  // namespace stellane
