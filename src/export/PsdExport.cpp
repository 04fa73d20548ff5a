#include "export/PsdExport.h"

#include <cstdio>

#include "export/ByteSink.h"
#include "export/PsdWriter.h"
#include "image/TiledImage.h"

namespace stellane {

namespace {

// Process-wide: one export at a time on the host's one thread, whichever
// instance or command starts it.
bool exportRunning = false;

std::int16_t RenderAndWrite(const ExportRun& run, const PsdJob& job, TiledImage& image,
                            const char* path, const ExportProgress* progress) {
  ByteSink sink;
  if (!OpenFileSink(sink, path)) return kExportFileNotCreated;
  std::int16_t status = ExportResult(RenderIntoImage(run.job, image, progress));
  if (status == kExportDone) {
    const ProfileAccess& access = run.profile;
    std::size_t profileSize = 0;
    const std::uint8_t* profile = access.lock ? access.lock(access.context, profileSize) : nullptr;
    PsdExtras extras{profile, profile ? profileSize : 0, {}, true};
    TodayAsIptcDate(extras.date);
    const PsdWriteStatus written = WritePsd(job, image, extras, sink);
    if (profile) access.unlock(access.context);
    if (written == PsdWriteStatus::kTooLarge) status = kExportTooLarge;
    if (written == PsdWriteStatus::kWriteFailed) status = kExportFileNotWritten;
  }
  // A cancelled or broken export leaves no half file behind, and the file
  // that was there before stays as it was.
  if (status != kExportDone)
    DiscardFileSink(sink);
  else if (!CloseFileSink(sink))
    status = kExportFileNotWritten;
  return status;
}

}  // namespace

std::int16_t ExportPsd(const ExportRun& run, const char* path, const ExportProgress* progress) {
  if (path == nullptr || *path == '\0' || exportRunning) return kExportNotStarted;
  if (!run.job.params) return kExportNoImage;
  const PsdJob job =
      MakePsdJob(run.job.destination.kind, run.imageWidth, run.imageHeight, *run.job.params);
  if (!PsdJobSizeValid(job)) return kExportTooLarge;

  TiledImage image;
  InitTiledImage(image, run.job.blocks);
  if (!CreateTiledImage(image, job.width, job.height, PsdImageFormat(job))) return kExportNoImage;
  exportRunning = true;
  const std::int16_t status = RenderAndWrite(run, job, image, path, progress);
  exportRunning = false;
  ReleaseTiledImage(image);
  return status;
}

}  // namespace stellane
