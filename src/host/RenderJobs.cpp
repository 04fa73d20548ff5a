#include "host/RenderJobs.h"

#include <algorithm>

#include "render/RenderContext.h"
#include "render/Renderer.h"

namespace stellane {

namespace {

// A transparency plane the host lets the filter edit (filter cases 4 and 5).
std::int32_t EditableTransparencyPlane(const ps::FilterRecord& fr, std::int32_t outPlanes) {
  const bool editable = fr.filterCase == 4 || fr.filterCase == 5;
  return editable && fr.outLayerPlanes >= 1 && fr.outLayerPlanes < outPlanes ? fr.outLayerPlanes
                                                                             : -1;
}

}  // namespace

ImageKind ImageKindOf(const ps::FilterRecord& fr) {
  if (fr.imageMode == ps::plugInModeRGB96 || fr.imageMode == ps::plugInModeGray32 ||
      fr.depth == 32) {
    return ImageKind::kFloat;
  }
  if ((fr.imageMode == ps::plugInModeGray16 || fr.imageMode == ps::plugInModeRGB48) &&
      fr.depth == 16) {
    return ImageKind::k16;
  }
  if ((fr.imageMode == ps::plugInModeGrayScale || fr.imageMode == ps::plugInModeRGBColor) &&
      fr.depth < 9) {
    return ImageKind::k8;
  }
  return ImageKind::kOther;
}

RenderDestination HostDestination(const Globals& g) {
  const ps::FilterRecord& fr = *g.filterRecord;
  RenderDestination d{};
  d.target = TargetOf(*g.params);
  d.kind = ImageKindOf(fr);
  d.grey = fr.planes < 3;
  d.columns = fr.outRect.right - fr.outRect.left;
  d.workWidth = g.workWidth;
  d.workHeight = g.workHeight;

  HostRows& rows = d.rows;
  rows.inData = fr.inData;
  rows.outData = fr.outData;
  rows.inRowBytes = fr.inRowBytes;
  rows.outRowBytes = fr.outRowBytes;
  rows.inPlanes = fr.inHiPlane - fr.inLoPlane + 1;
  rows.outPlanes = fr.outHiPlane - fr.outLoPlane + 1;
  rows.width = std::min(fr.outRect.right - fr.outRect.left, fr.inRect.right - fr.inRect.left);
  rows.height = fr.outRect.bottom - fr.outRect.top;
  // The preview's buffers hold the whole area, the host's output one row.
  rows.rowAtOrigin = d.target != RenderTarget::kPreview;
  if (!rows.rowAtOrigin) rows.height = std::min(rows.height, fr.inRect.bottom - fr.inRect.top);
  rows.transparencyPlane = EditableTransparencyPlane(fr, rows.outPlanes);

  MaskRows& mask = d.mask;
  mask.data = fr.haveMask ? static_cast<const std::uint8_t*>(fr.maskData) : nullptr;
  mask.rowBytes = fr.maskRowBytes;
  mask.columns = fr.maskRect.right - fr.maskRect.left;
  mask.firstRow = g.maskFirstRow;
  mask.lastRow = g.maskLastRow;
  return d;
}

RenderJob RunJob(Globals& g) {
  const ps::FilterRecord& fr = *g.filterRecord;
  RenderJob job{};
  job.params = g.params;
  job.context = static_cast<RenderContext*>(g.buffers.renderContext.data);
  job.ring = &g.buffers.rowRing;
  job.blocks = HostBlocks(g.filterRecord);
  job.workWidth = g.workWidth;
  job.workHeight = g.workHeight;
  job.requestWidth = std::max(0, fr.inRect.right - fr.inRect.left);
  if (g.params) job.destination = HostDestination(g);
  job.progress.rowsDone = [](void* host, std::int32_t done, std::int32_t total) {
    ReportProgress(static_cast<const ps::FilterRecord*>(host), done, total);
  };
  job.progress.cancelWanted = [](void* host, std::int32_t) {
    return TestAbort(static_cast<const ps::FilterRecord*>(host));
  };
  job.progress.user = g.filterRecord;
  return job;
}

ps::OSErr HostResult(RenderStatus status) {
  switch (status) {
    case RenderStatus::kDone:
      return ps::noErr;
    case RenderStatus::kCancelled:
      return ps::userCanceledErr;
    case RenderStatus::kOutOfMemory:
      break;
  }
  return ps::memFullErr;
}

ps::OSErr PrepareRun(Globals& g) {
  if (!g.filterRecord || !g.params || !g.buffers.renderContext.data) return ps::memFullErr;
  RenderJob job = RunJob(g);
  g.bufferUnits = job.requestWidth + 4;
  const RenderStatus status = PrepareRendering(job);
  if (status != RenderStatus::kDone) return HostResult(status);
  StartProgressThrottle(g.progress, g.workHeight);
  g.rowIndex = 0;
  g.renderPhase = 1;
  g.loopInternally = 0;
  g.renderStarted = 1;
  g.moreRows = 1;
  return ps::noErr;
}

ps::OSErr RenderRunRow(RenderJob& job, std::int32_t row) { return HostResult(RenderRow(job, row)); }

}  // namespace stellane
