// The parameter record and the parameters and prepare selectors.
#include "host/Dispatch.h"

#include <ctime>

#include "host/HostUi.h"
#include "host/WorkArea.h"
#include "render/CrtRandom.h"

namespace stellane {

namespace {

bool starSeedFixed = false;
std::uint32_t fixedStarSeed = 0;

// A handle that reports a size below our record's holds something else (an
// older or foreign record): reading it as ours would run past its end.
// Hosts whose handle suite answers 0 for every size (pspiHost) are trusted.
bool TooSmallForRecord(const ps::FilterRecord* fr, ps::Handle h) {
  const ps::HandleProcs* procs = fr->handleProcs;
  if (!procs || !procs->getSizeProc) return false;
  const std::int32_t size = procs->getSizeProc(h);
  return size > 0 && size < std::int32_t(sizeof(RenderParams));
}

void ClearBufferHandles(Globals& g) { g.buffers = RunBuffers{}; }

}  // namespace

void EnsureParamRecord(Globals& g) {
  if (g.params) return;
  ps::FilterRecord* fr = g.filterRecord;
  ps::Handle h = fr->parameters;
  if (h && TooSmallForRecord(fr, h)) {
    DisposeHostHandle(fr, h);
    h = nullptr;
    fr->parameters = nullptr;
  }
  const bool isNew = h == nullptr;
  if (isNew) {
    h = NewHostHandle(fr, sizeof(RenderParams));
    if (!h) {
      SetResult(g, ps::memFullErr);
      return;
    }
    fr->parameters = h;
  }
  auto* params = static_cast<RenderParams*>(LockHostHandle(fr, h));
  if (!params) {
    SetResult(g, ps::memFullErr);
    return;
  }
  g.params = params;
  if (isNew) {
    ClearBufferHandles(g);
    InitNewRenderParams(*params);
  }
}

void ParametersHandler(Globals& g) {
  EnsureParamRecord(g);
  if (!g.params) return;
  g.params->showDialog = 1;
}

void PrepareHandler(Globals& g) {
  ps::FilterRecord* fr = g.filterRecord;
  fr->bufferSpace = 0;
  EnsureParamRecord(g);
  if (!g.params) return;
  fr->bufferSpace = 0;

  SetWorkArea(g, fr->filterRect, 1);
  DeriveBufferSizes(g);

  g.renderPhase = 0;
  g.rowIndex = 0;
  g.currentRow = 0;
  g.progress = ProgressThrottle{};
  g.moreRows = 0;
  g.loopInternally = 0;
  g.renderStarted = 0;
  ClearAboutBoxOpen();

  CrtSrand(starSeedFixed ? fixedStarSeed : std::uint32_t(std::time(nullptr)));
}

void FixStarSeed(std::uint32_t seed) {
  starSeedFixed = true;
  fixedStarSeed = seed;
}

}  // namespace stellane
