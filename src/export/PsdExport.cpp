#include "export/PsdExport.h"

#include <cstdio>

#include "export/ByteSink.h"
#include "export/PsdWriter.h"
#include "host/RenderJobs.h"
#include "image/TiledImage.h"

namespace stellane {

namespace {

bool exportRunning = false;  // one export at a time: the host's thread is ours

// The host's document profile, locked while the file is written.
struct HostProfile {
  const ps::FilterRecord* fr;
  ps::Handle handle;
  const std::uint8_t* data;
  std::size_t size;
};

HostProfile LockHostProfile(const ps::FilterRecord* fr) {
  HostProfile profile{fr, nullptr, nullptr, 0};
  if (!fr->canUseICCProfiles || fr->iCCprofileData == nullptr || fr->iCCprofileSize <= 0) {
    return profile;
  }
  profile.data = static_cast<const std::uint8_t*>(LockHostHandle(fr, fr->iCCprofileData));
  if (profile.data == nullptr) return profile;
  profile.handle = fr->iCCprofileData;
  profile.size = static_cast<std::size_t>(fr->iCCprofileSize);
  return profile;
}

void UnlockHostProfile(HostProfile& profile) {
  if (profile.handle) UnlockHostHandle(profile.fr, profile.handle);
  profile.handle = nullptr;
}

std::int16_t RenderAndWrite(Globals& g, const PsdJob& job, TiledImage& image, const char* path,
                            const ExportProgress* progress) {
  ByteSink sink;
  if (!OpenFileSink(sink, path)) return kExportFileNotCreated;
  std::int16_t status = HostResult(RenderIntoImage(RunJob(g), image, progress));
  if (status == ps::noErr) {
    HostProfile profile = LockHostProfile(g.filterRecord);
    PsdExtras extras{profile.data, profile.size, {}, true};
    TodayAsIptcDate(extras.date);
    const PsdWriteStatus written = WritePsd(job, image, extras, sink);
    UnlockHostProfile(profile);
    if (written == PsdWriteStatus::kTooLarge) status = kExportTooLarge;
    if (written == PsdWriteStatus::kWriteFailed) status = kExportFileNotWritten;
  }
  // A cancelled or broken export leaves no half file behind, and the file
  // that was there before stays as it was.
  if (status != ps::noErr)
    DiscardFileSink(sink);
  else if (!CloseFileSink(sink))
    status = kExportFileNotWritten;
  return status;
}

}  // namespace

std::int16_t ExportPsd(Globals& g, const char* path, const ExportProgress* progress) {
  if (path == nullptr || *path == '\0' || exportRunning) return kExportNotStarted;
  if (!g.filterRecord || !g.params) return kExportNoImage;
  const PsdJob job = MakePsdJob(*g.filterRecord, *g.params);
  if (!PsdJobSizeValid(job)) return kExportTooLarge;

  TiledImage image;
  InitTiledImage(image, HostBlocks(g.filterRecord));
  if (!CreateTiledImage(image, job.width, job.height, PsdImageFormat(job))) return kExportNoImage;
  exportRunning = true;
  const std::int16_t status = RenderAndWrite(g, job, image, path, progress);
  exportRunning = false;
  ReleaseTiledImage(image);
  return status;
}

}  // namespace stellane
