// The parameter record and the parameters and prepare selectors.
#include "host/Dispatch.h"

#include <ctime>

#include "host/HostUi.h"
#include "host/WorkArea.h"
#include "render/CrtRandom.h"

namespace stellane {

namespace {

// Process-wide: FixStarSeed comes through the module's second export, before
// any run and with no instance to keep it in.
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

ps::OSErr EnsureParamRecord(Globals& g) {
  if (g.params) return ps::noErr;
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
    if (!h) return ps::memFullErr;
    fr->parameters = h;
  }
  auto* params = static_cast<RenderParams*>(LockHostHandle(fr, h));
  if (!params) return ps::memFullErr;
  g.params = params;
  if (isNew) {
    ClearBufferHandles(g);
    InitNewRenderParams(*params);
  }
  return ps::noErr;
}

ps::OSErr ParametersHandler(Globals& g) {
  if (const ps::OSErr status = EnsureParamRecord(g); status != ps::noErr) return status;
  g.params->showDialog = 1;
  return ps::noErr;
}

ps::OSErr PrepareHandler(Globals& g) {
  ps::FilterRecord* fr = g.filterRecord;
  fr->bufferSpace = 0;
  if (const ps::OSErr status = EnsureParamRecord(g); status != ps::noErr) return status;
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
  return ps::noErr;
}

void FixStarSeed(std::uint32_t seed) {
  starSeedFixed = true;
  fixedStarSeed = seed;
}

}  // namespace stellane
