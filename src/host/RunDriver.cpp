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
  g.dotPins = DotPins{};
  ReadDotDirectory(g);
  p.outputMode = kOutputImageSize;
}

// Refuses hosts and images we cannot work with; both tests run, and each
// shows its message.
ps::OSErr RefuseIfUnworkable(Globals& g) {
  const ps::FilterRecord* fr = g.filterRecord;
  ps::OSErr status = ps::noErr;
  if (!HasAdvanceState(fr)) {
    ShowRefusal(Refusal::HostTooOld, ParentWindow(fr));
    status = kErrMessageShown;
  }
  if (fr->imageMode == ps::plugInModeMultichannel) {
    ShowRefusal(Refusal::CannotFilter, ParentWindow(fr));
    status = kErrMessageShown;
  }
  return status;
}

// Hands the current request to the host. An error ends the run here: the
// host will not call continue, so the run's buffers are released now.
ps::OSErr Advance(Globals& g) {
  const ps::OSErr status = AdvanceState(g.filterRecord);
  if (status != ps::noErr) EndRunAndRequestNoPixels(g);
  return status;
}

// `status` is what the start has met so far: a script that could not be
// read still lets the run prepare, then ends it with that code.
ps::OSErr RenderStart(Globals& g, ps::OSErr status) {
  ps::FilterRecord* fr = g.filterRecord;
  RenderParams& p = *g.params;
  p.previewPanX = 0;
  p.previewPanY = 0;
  BeginRendering(g);
  SetWorkArea(g, fr->filterRect, 1);
  if (g.workWidth <= 0 || g.workHeight <= 0) {
    // An empty filter rectangle has no rows to walk.
    EndRunAndRequestNoPixels(g);
    return status;
  }
  if (const ps::OSErr prepared = PrepareRun(g); prepared != ps::noErr) status = prepared;
  if (status != ps::noErr) {
    EndRunAndRequestNoPixels(g);
    return status;
  }
  RequestRow(g);
  return Advance(g);
}

}  // namespace

ps::OSErr StartHandler(Globals& g) {
  ps::FilterRecord* fr = g.filterRecord;
  if (const ps::OSErr status = EnsureParamRecord(g); status != ps::noErr) return status;
  RenderParams& p = *g.params;
  p.previewEnabled = HasAdvanceState(fr) && HasDisplayPixels(fr) ? 1 : 0;

  if (g.bufferUnits <= 0) {  // a host that skipped prepare
    SetWorkArea(g, fr->filterRect, 1);
    DeriveBufferSizes(g);
  }
  if (!AllocateRunBuffers(g)) {
    // Nothing was shown: the host reports the memory shortage itself.
    ReleaseRunBuffers(g);
    RequestNoPixels(fr);
    return ps::memFullErr;
  }

  StartHousekeeping(g);
  g.filterWidth = fr->filterRect.right - fr->filterRect.left;
  g.filterHeight = fr->filterRect.bottom - fr->filterRect.top;

  if (const ps::OSErr refused = RefuseIfUnworkable(g); refused != ps::noErr) {
    EndRunAndRequestNoPixels(g);
    return refused;
  }

  ps::OSErr status = ReadScriptingDescriptor(g);
  if (p.showDialog) {
    TheFrontEnd().takeUndoSnapshot(g);
    // The dialog's outcome (OK, Cancel, or a window it could not make)
    // decides the run.
    status = TheFrontEnd().runMainDialog(g);
    p.showDialog = 0;
    if (status != ps::noErr) {
      EndRunAndRequestNoPixels(g);
      return status;
    }
    WriteCachedSettings(g);
  }

  SetTarget(p, RenderTarget::kHostImage);
  return RenderStart(g, status);
}

ps::OSErr ContinueHandler(Globals& g) {
  ps::FilterRecord* fr = g.filterRecord;
  if (!g.buffers.renderContext.data) {
    // Continue without a started run (or after it ended): nothing to do.
    RequestNoPixels(fr);
    return ps::noErr;
  }
  ps::OSErr status = ps::noErr;
  for (;;) {
    do {
      status = RowStep(g);
      if (status != ps::noErr) g.moreRows = 0;
    } while (g.loopInternally == 1 && status == ps::noErr);

    if (status == ps::noErr) RequestRow(g);
    if (g.moreRows != 1) break;
    if (!HasAdvanceState(fr)) return status;  // the host calls continue again
    status = Advance(g);
    if (status != ps::noErr) return status;
  }
  EndRunAndRequestNoPixels(g);
  return status;
}

ps::OSErr FinishHandler(Globals& g) {
  WriteScriptingDescriptor(g);
  return ps::noErr;
}

}  // namespace stellane
