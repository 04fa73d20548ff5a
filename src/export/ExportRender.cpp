#include "export/ExportRender.h"

#include "glue/GlueModes.h"
#include "render/RenderContext.h"
#include "render/Renderer.h"

namespace stellane {

namespace {

constexpr std::int32_t kCancelCheckRows = 8;
constexpr std::int32_t kMaxRenderSide = 32767;

struct ExportRows {
  const RenderJob* run;
  const ExportProgress* progress;
  std::int32_t lastPercent;
};

void RowsDone(void* user, std::int32_t done, std::int32_t total) {
  auto& rows = *static_cast<ExportRows*>(user);
  const ExportProgress* p = rows.progress;
  const std::int32_t percent =
      total > 0 ? static_cast<std::int32_t>(std::int64_t{done} * 100 / total) : 0;
  if (p && p->percent && percent != rows.lastPercent) p->percent(p->user, percent);
  rows.lastPercent = percent;
}

// Every eighth row the user may stop the export: in the progress window, or
// through the host.
bool CancelWanted(void* user, std::int32_t done) {
  auto& rows = *static_cast<ExportRows*>(user);
  if (done % kCancelCheckRows != kCancelCheckRows - 1) return false;
  const ExportProgress* p = rows.progress;
  if (p && p->cancelWanted && p->cancelWanted(p->user)) return true;
  const RenderProgress& host = rows.run->progress;
  return host.cancelWanted && host.cancelWanted(host.user, done);
}

}  // namespace

std::int16_t ExportResult(RenderStatus status) {
  switch (status) {
    case RenderStatus::kDone:
      return kExportDone;
    case RenderStatus::kCancelled:
      return kExportCancelled;
    case RenderStatus::kOutOfMemory:
      break;
  }
  return kExportOutOfMemory;
}

RenderStatus RenderIntoImage(const RenderJob& run, TiledImage& image,
                             const ExportProgress* progress) {
  if (!run.params || !run.context || !run.ring || !HasPixels(image))
    return RenderStatus::kOutOfMemory;
  const std::int32_t width = image.levels[0].width;
  const std::int32_t height = image.levels[0].height;
  if (width > kMaxRenderSide || height > kMaxRenderSide) return RenderStatus::kOutOfMemory;

  RenderParams params = *run.params;
  SetTarget(params, RenderTarget::kExportImage);
  params.previewPanX = params.previewPanY = 0;
  params.previewZoom = 1;
  RenderJob job = run;
  job.params = &params;
  job.workWidth = width;
  job.workHeight = height;
  job.requestWidth = width;
  job.destination = ImageDestination(image, run.destination.kind, run.destination.grey);
  BuildProceduralWeights(job.context->proceduralWeights);

  ExportRows rows{&run, progress, -1};
  job.progress = {RowsDone, CancelWanted, &rows};
  const RenderStatus status = RenderAllRows(job);
  if (status == RenderStatus::kCancelled && progress && progress->cancelling)
    progress->cancelling(progress->user);
  return status;
}

}  // namespace stellane
