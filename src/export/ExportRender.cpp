#include "export/ExportRender.h"

#include "host/BandLoop.h"
#include "host/HostServices.h"
#include "host/RequestState.h"
#include "host/WorkArea.h"
#include "render/RenderContext.h"
#include "render/Renderer.h"

namespace stellane {

namespace {

// The run's row bookkeeping that a rendering overwrites.
struct RowState {
  std::int32_t workWidth, workHeight, bufferUnits;
  std::int32_t currentRow, progressDone, progressTotal, renderPhase;
  std::uint8_t moreRows, loopInternally, renderStarted;
  std::int32_t maskFirstRow, maskLastRow;
  std::uint8_t progressCounter, abortCounter;
  std::int32_t lastProgressDone;
};

RowState SaveRowState(const Globals& g) {
  return {g.workWidth,     g.workHeight,  g.bufferUnits,     g.currentRow,     g.progressDone,
          g.progressTotal, g.renderPhase, g.moreRows,        g.loopInternally, g.renderStarted,
          g.maskFirstRow,  g.maskLastRow, g.progressCounter, g.abortCounter,   g.lastProgressDone};
}

void RestoreRowState(Globals& g, const RowState& s) {
  g.workWidth = s.workWidth;
  g.workHeight = s.workHeight;
  g.bufferUnits = s.bufferUnits;
  g.currentRow = s.currentRow;
  g.progressDone = s.progressDone;
  g.progressTotal = s.progressTotal;
  g.renderPhase = s.renderPhase;
  g.moreRows = s.moreRows;
  g.loopInternally = s.loopInternally;
  g.renderStarted = s.renderStarted;
  g.maskFirstRow = s.maskFirstRow;
  g.maskLastRow = s.maskLastRow;
  g.progressCounter = s.progressCounter;
  g.abortCounter = s.abortCounter;
  g.lastProgressDone = s.lastProgressDone;
}

// The rendering in progress. Exports are modal and run on the host's one
// thread, one at a time, so a single slot serves; it is set only for the
// duration of RenderIntoImage.
struct ActiveExport {
  Globals* g;
  const ExportProgress* progress;
  std::int32_t lastPercent;
};
ActiveExport* activeExport = nullptr;

constexpr std::int32_t kCancelCheckRows = 8;
constexpr std::int32_t kMaxRenderSide = 32767;

}  // namespace

void ReportExportProgress(Globals& g, std::int32_t done, std::int32_t total) {
  ActiveExport* active = activeExport;
  if (active == nullptr || active->g != &g) return;
  const ExportProgress* p = active->progress;
  const std::int32_t percent =
      total > 0 ? static_cast<std::int32_t>(std::int64_t{done} * 100 / total) : 0;
  if (p && p->percent && percent != active->lastPercent) p->percent(p->user, percent);
  active->lastPercent = percent;
  // Every eighth row the user may stop the export: in the progress window,
  // or through the host (its abort test is the run's own).
  if (done % kCancelCheckRows != kCancelCheckRows - 1) return;
  const bool windowCancel = p && p->cancelWanted && p->cancelWanted(p->user);
  if (windowCancel || TestAbort(g.filterRecord)) SetResult(g, ps::userCanceledErr);
}

std::int16_t RenderIntoImage(Globals& g, TiledImage& image, const ExportProgress* progress) {
  if (!g.filterRecord || !g.params || !g.buffers.renderContext.data || !HasPixels(image)) {
    return ps::memFullErr;
  }
  const std::int16_t runResult = Result(g);
  const RequestState request = SaveRequestState(g, true);
  const RowState rows = SaveRowState(g);
  RenderContext& c = Context(g);
  TiledImage* const previousImage = c.exportImage;

  const std::int32_t width = image.levels[0].width;
  const std::int32_t height = image.levels[0].height;
  // Request rectangles are 16-bit.
  if (width > kMaxRenderSide || height > kMaxRenderSide) return ps::memFullErr;
  // The ring is fitted to the request's width: ask for the picture's.
  const ps::Rect16 area = {0, 0, static_cast<std::int16_t>(height),
                           static_cast<std::int16_t>(width)};
  ps::FilterRecord& fr = *g.filterRecord;
  fr.inRect = fr.outRect = area;
  RenderParams& p = *g.params;
  SetTarget(p, RenderTarget::kExportImage);
  p.previewPanX = p.previewPanY = 0;
  c.exportImage = &image;
  SetWorkArea(g, area, 1);
  g.maskFirstRow = 0;
  g.maskLastRow = height - 1;

  ActiveExport active{&g, progress, -1};
  ActiveExport* const outer = activeExport;
  activeExport = &active;
  SetResult(g, ps::noErr);
  BeginRendering(g);
  PrepareRendering(g);
  while (Result(g) == ps::noErr && g.moreRows == 1) RowStep(g);
  const std::int16_t status = Result(g);
  if (status == ps::userCanceledErr && progress && progress->cancelling) {
    progress->cancelling(progress->user);
  }
  activeExport = outer;

  c.exportImage = previousImage;
  RestoreRowState(g, rows);
  RestoreRequestState(g, request);
  SetResult(g, runResult);
  return status;
}

}  // namespace stellane
