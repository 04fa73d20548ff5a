// The run driver: start, continue and finish.
#include "host/BandLoop.h"
#include "host/Dispatch.h"
#include "host/FrontEnd.h"
#include "host/HostUi.h"
#include "host/RenderJobs.h"
#include "host/RunHooks.h"
#include "host/WorkArea.h"
#include "params/DotDirectory.h"

namespace stellane {

namespace {

constexpr ps::Rect16 kEmptyRect = {0, 0, 0, 0};

std::intptr_t ParentWindow(const ps::FilterRecord* fr) {
  const auto* platform = static_cast<const ps::PlatformData*>(fr->platformData);
  return platform ? platform->hwnd : 0;
}

void ReleaseRunBuffers(Globals& g) {
  ReleaseWorkBuffer(g.filterRecord, g.buffers.rowRing);
  ReleaseWorkBuffer(g.filterRecord, g.buffers.renderContext);
}

bool AllocateRunBuffers(Globals& g) {
  g.buffers = RunBuffers{};
  const ps::FilterRecord* fr = g.filterRecord;
  bool ok = AllocateWorkBuffer(fr, RowRingBytes(g.bufferUnits), g.buffers.rowRing);
  ok = AllocateWorkBuffer(fr, kRenderContextBytes, g.buffers.renderContext) && ok;
  return ok;
}

// Ends the host's continue calls with all-zero rectangles. (pspiHost takes a
// non-zero empty rectangle for more work, and XnView crashes on null data
// pointers, so only the rectangles are touched.)
void RequestNoPixels(ps::FilterRecord* fr) {
  fr->inRect = kEmptyRect;
  fr->outRect = kEmptyRect;
  fr->maskRect = kEmptyRect;
}

void EndRun(Globals& g) {
  WriteDotDirectory(g);
  ReleaseRunBuffers(g);
  ReleaseTiledImage(g.settingsThumbnail);
}

void EndRunAndRequestNoPixels(Globals& g) {
  EndRun(g);
  RequestNoPixels(g.filterRecord);
}

void StartHousekeeping(Globals& g) {
  RenderParams& p = *g.params;
  // Without memory for it the settings files simply carry no thumbnail.
  TheFrontEnd().createSettingsThumbnail(g);
  if (!DescriptorReadable(g)) ReadCachedSettings(g);
  if (g.freshGlobals) {
    g.freshGlobals = 0;
    p.customWidth = 100;
    p.customHeight = 100;
  }
  p.settingsFolder[0] = '\0';
  p.psdFolder[0] = '\0';
  RunDotPins() = DotPins{};
  ReadDotDirectory(g);
  p.outputMode = kOutputImageSize;
}

// Refuses hosts and images we cannot work with; both tests run.
bool Refused(Globals& g) {
  const ps::FilterRecord* fr = g.filterRecord;
  if (!HasAdvanceState(fr)) {
    ShowRefusal(Refusal::HostTooOld, ParentWindow(fr));
    SetResult(g, kErrMessageShown);
  }
  if (fr->imageMode == ps::plugInModeMultichannel) {
    ShowRefusal(Refusal::CannotFilter, ParentWindow(fr));
    SetResult(g, kErrMessageShown);
  }
  return Result(g) != ps::noErr;
}

// Hands the current request to the host. An error ends the run here: the
// host will not call continue, so the run's buffers are released now.
bool Advance(Globals& g) {
  SetResult(g, AdvanceState(g.filterRecord));
  if (Result(g) == ps::noErr) return true;
  EndRunAndRequestNoPixels(g);
  return false;
}

void RenderStart(Globals& g) {
  ps::FilterRecord* fr = g.filterRecord;
  RenderParams& p = *g.params;
  p.previewPanX = 0;
  p.previewPanY = 0;
  BeginRendering(g);
  SetWorkArea(g, fr->filterRect, 1);
  if (g.workWidth <= 0 || g.workHeight <= 0) {
    // An empty filter rectangle has no rows to walk.
    EndRunAndRequestNoPixels(g);
    return;
  }
  PrepareRun(g);
  if (Result(g) != ps::noErr) {
    EndRunAndRequestNoPixels(g);
    return;
  }
  RequestRow(g);
  Advance(g);
}

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
    // Nothing was shown: the host reports the memory shortage itself.
    ReleaseRunBuffers(g);
    SetResult(g, ps::memFullErr);
    RequestNoPixels(fr);
    return;
  }

  StartHousekeeping(g);
  g.filterWidth = fr->filterRect.right - fr->filterRect.left;
  g.filterHeight = fr->filterRect.bottom - fr->filterRect.top;

  if (Refused(g)) {
    EndRunAndRequestNoPixels(g);
    return;
  }

  ReadScriptingDescriptor(g);
  if (p.showDialog) {
    TheFrontEnd().takeUndoSnapshot(g);
    TheFrontEnd().runMainDialog(g);
    p.showDialog = 0;
    if (Result(g) != ps::noErr) {
      EndRunAndRequestNoPixels(g);
      return;
    }
    WriteCachedSettings(g);
  }

  SetTarget(p, RenderTarget::kHostImage);
  RenderStart(g);
}

void ContinueHandler(Globals& g) {
  ps::FilterRecord* fr = g.filterRecord;
  if (!g.buffers.renderContext.data) {
    // Continue without a started run (or after it ended): nothing to do.
    RequestNoPixels(fr);
    return;
  }
  for (;;) {
    do {
      RowStep(g);
      if (Result(g) != ps::noErr) g.moreRows = 0;
    } while (g.loopInternally == 1 && Result(g) == ps::noErr);

    if (Result(g) == ps::noErr) RequestRow(g);
    if (g.moreRows != 1) break;
    if (!HasAdvanceState(fr)) return;  // the host calls continue again
    if (!Advance(g)) return;
  }
  EndRunAndRequestNoPixels(g);
}

void FinishHandler(Globals& g) { WriteScriptingDescriptor(g); }

}  // namespace stellane
