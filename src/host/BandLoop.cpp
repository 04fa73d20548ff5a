#include "host/BandLoop.h"

#include <algorithm>

#include "glue/GlueModes.h"
#include "host/FrontEnd.h"
#include "host/HostQuirks.h"
#include "host/RenderJobs.h"
#include "host/WorkArea.h"

namespace stellane {

namespace {

ps::Rect16 EmptyRectAt(std::int16_t top, std::int16_t left) { return {top, left, top, left}; }

}  // namespace

void RequestRow(Globals& g) {
  ps::FilterRecord* fr = g.filterRecord;
  const ps::Rect16 filter = fr->filterRect;
  const std::int32_t y0 = filter.top;
  const std::int32_t height = filter.bottom - y0;

  SetWorkArea(g, filter, 1);
  const std::int32_t y = y0 + std::clamp(g.rowIndex, 0, std::max(0, height - 1));
  ps::Rect16 row = filter;
  row.top = std::int16_t(y);
  row.bottom = std::int16_t(y + 1);

  ps::Rect16 mask = EmptyRectAt(filter.top, filter.left);
  if (fr->haveMask && g.renderStarted) {
    // Four mask rows around y (y - 2 .. y + 1), clamped into the filter
    // rectangle and never empty.
    mask = filter;
    mask.top = std::int16_t(std::clamp<std::int32_t>(y - 2, filter.top, filter.bottom));
    mask.bottom = std::int16_t(std::clamp<std::int32_t>(y + 2, filter.top, filter.bottom));
    if (mask.bottom <= mask.top) mask.bottom = std::int16_t(mask.top + 1);
  }
  FillPixelRequest(fr, row, row, mask, ps::kFixedOne);

  g.maskFirstRow = fr->maskRect.top - y0;
  g.maskLastRow = fr->maskRect.bottom - y0 - 1;
}

bool ShouldDisplayPreviewRow(const Globals& g, std::int32_t row) {
  const ps::FilterRecord* fr = g.filterRecord;
  if (!HasAdvanceState(fr) || !HasDisplayPixels(fr) ||
      TargetOf(*g.params) != RenderTarget::kPreview)
    return false;
  if (HostHas(fr, HostQuirk::kSparsePreviewDisplay)) return row % 100 == 99;
  return true;
}

ps::OSErr RowStep(Globals& g) {
  ps::OSErr status = ps::noErr;
  RenderJob job = RunJob(g);
  ThrottledRowsDone(job, g.progress);
  g.currentRow = g.rowIndex;
  if (g.renderPhase == 1) {
    status = RenderRunRow(job, g.currentRow);
    if (ShouldDisplayPreviewRow(g, g.currentRow)) TheFrontEnd().displayPreviewRow(g, g.currentRow);
    if (g.rowIndex >= g.workHeight - 1) {
      g.moreRows = 0;
      g.loopInternally = 0;
      g.rowIndex = 0;
    } else {
      ++g.rowIndex;
    }
  }
  return ThrottledCancelWanted(job, g.progress) ? ps::OSErr(ps::userCanceledErr) : status;
}

void BeginRendering(Globals& g) {
  if (g.buffers.renderContext.data) BuildProceduralWeights(Context(g).proceduralWeights);
}

ps::OSErr WholeImageRender(Globals& g) {
  const ps::FilterRecord* fr = g.filterRecord;
  g.maskFirstRow = 0;
  g.maskLastRow = g.workHeight - 1;
  BeginRendering(g);
  ps::OSErr status = PrepareRun(g);
  if (!HasAdvanceState(fr) || !HasDisplayPixels(fr) || !fr->inData) return status;
  while (status == ps::noErr && g.moreRows == 1) status = RowStep(g);
  return status;
}

}  // namespace stellane
