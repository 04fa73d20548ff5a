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

// The ring must hold the request's row (requestWidth + 4 columns) and, for the
// clearing below, the work width plus its two border columns; the lattice
// follows it in the same block.
bool FitGlowRing(RenderJob& job) {
  const std::int32_t columns =
      std::max(std::max(0, job.requestWidth) + 4, std::max(0, job.workWidth) + 2);
  const std::int32_t bytes = RowRingBlockBytes(columns);
  MemoryBlock& ring = *job.ring;
  if (bytes <= ring.size && ring.data) return true;
  ReleaseBlock(job.blocks, ring);
  return AllocateBlock(job.blocks, bytes, ring);
}

void BuildFalloffTable(RenderContext& c) {
  for (int i = 0; i < kFalloffEntries; ++i) {
    const float s = std::sqrt(1.0f - static_cast<float>(i) / 100.0f);
    const float s6 = s * s * s * s * s * s;
    c.falloffTable[i] = static_cast<float>(s6 * (1.0 / 256.0));
  }
}

}  // namespace

RenderStatus PrepareRendering(RenderJob& job) {
  if (!job.params || !job.context || !job.ring) return RenderStatus::kOutOfMemory;
  RenderContext& c = *job.context;
  if (!FitGlowRing(job)) {
    c.lattices = nullptr;  // they lived in the released block
    return RenderStatus::kOutOfMemory;
  }
  BuildRandomTables(c, job.params->randomSeed);
  BuildPermutations(c, job.params->randomSeed);
  BuildNoiseLattices(c, NoiseLatticesIn(*job.ring));
  c.lattices = &NoiseLatticesIn(*job.ring);
  ClearGlowRing(*job.ring, job.workWidth);
  ClearStarPool(c);
  c.freeHint = 1;
  c.lastSlot = 1;
  BuildFalloffTable(c);
  return RenderStatus::kDone;
}

RenderStatus RenderAllRows(RenderJob& job) {
  const RenderProgress& progress = job.progress;
  RenderStatus status = PrepareRendering(job);
  for (std::int32_t y = 0; status == RenderStatus::kDone && y < job.workHeight; ++y) {
    if (progress.rowsDone) progress.rowsDone(progress.user, y, job.workHeight);
    status = RenderRow(job, y);
    if (status == RenderStatus::kDone && progress.cancelWanted &&
        progress.cancelWanted(progress.user, y))
      status = RenderStatus::kCancelled;
  }
  return status;
}

}  // namespace stellane
