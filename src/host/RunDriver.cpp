// The run driver: start, continue and finish.
#include "host/Dispatch.h"
#include "host/HostUi.h"
#include "host/WorkArea.h"

namespace stellane {

namespace {

constexpr ps::Rect16 kEmptyRect = {0, 0, 0, 0};

std::intptr_t ParentWindow(const ps::FilterRecord* fr) {
  const auto* platform = static_cast<const ps::PlatformData*>(fr->platformData);
  return platform ? platform->hwnd : 0;
}

void ReleaseRunBuffers(Globals& g) {
  ReleaseWorkBuffer(g.filterRecord, g.buffers.rowRing);
  for (WorkBuffer& b : g.buffers.scratch) ReleaseWorkBuffer(g.filterRecord, b);
  ReleaseWorkBuffer(g.filterRecord, g.buffers.renderContext);
}

bool AllocateRunBuffers(Globals& g) {
  g.buffers = RunBuffers{};
  const ps::FilterRecord* fr = g.filterRecord;
  bool ok = AllocateWorkBuffer(fr, RowRingBytes(g.bufferUnits), g.buffers.rowRing);
  for (int i = 0; i < kScratchBufferCount; ++i)
    ok = AllocateWorkBuffer(fr, i == 0 ? 32 : 16, g.buffers.scratch[i]) && ok;
  ok = AllocateWorkBuffer(fr, kRenderContextBytes, g.buffers.renderContext) && ok;
  return ok;
}

// Ends the host's continue calls: all-zero rectangles. (Some hosts take a
// non-zero empty rectangle for more work, and some crash on null data
// pointers, so only the rectangles are touched.)
void RequestNoPixels(ps::FilterRecord* fr) {
  fr->inRect = kEmptyRect;
  fr->outRect = kEmptyRect;
  fr->maskRect = kEmptyRect;
}

void EndRun(Globals& g) { ReleaseRunBuffers(g); }

}  // namespace

void StartHandler(Globals& g) {
  ps::FilterRecord* fr = g.filterRecord;
  EnsureParamRecord(g);
  if (!g.params) return;
  RenderParams& p = *g.params;
  p.previewEnabled = HasAdvanceState(fr) && HasDisplayPixels(fr) ? 1 : 0;

  if (g.bufferUnits <= 0) {  // a host that skipped prepare
    SetWorkArea(g, fr->filterRect, 1);
    DeriveBufferSizes(g);
  }
  if (!AllocateRunBuffers(g) || Result(g) != ps::noErr) {
    ReleaseRunBuffers(g);
    SetResult(g, 1);
    RequestNoPixels(fr);
    return;
  }

  if (g.freshGlobals) {
    g.freshGlobals = 0;
    p.customWidth = 100;
    p.customHeight = 100;
  }
  p.settingsFolder[0] = '\0';
  p.psdFolder[0] = '\0';
  g.dialogWindow = nullptr;
  p.outputMode = 3;

  g.filterWidth = fr->filterRect.right - fr->filterRect.left;
  g.filterHeight = fr->filterRect.bottom - fr->filterRect.top;

  if (!HasAdvanceState(fr)) {
    ShowRefusal(Refusal::HostTooOld, ParentWindow(fr));
    SetResult(g, 1);
  }
  if (fr->imageMode == ps::plugInModeMultichannel) {
    ShowRefusal(Refusal::CannotFilter, ParentWindow(fr));
    SetResult(g, 1);
  }
  if (Result(g) != ps::noErr) {
    EndRun(g);
    RequestNoPixels(fr);
    return;
  }

  // The band loop is not wired in yet: the run ends without asking for pixels.
  EndRun(g);
  RequestNoPixels(fr);
}

void ContinueHandler(Globals& g) {
  EndRun(g);
  RequestNoPixels(g.filterRecord);
}

void FinishHandler(Globals&) {}

}  // namespace stellane
