#include "dialog/ExportRunOf.h"

#include "host/RenderJobs.h"

namespace stellane {

namespace {

const std::uint8_t* LockProfile(const void* context, std::size_t& size) {
  const auto* fr = static_cast<const ps::FilterRecord*>(context);
  if (!fr->canUseICCProfiles || fr->iCCprofileData == nullptr || fr->iCCprofileSize <= 0)
    return nullptr;
  const auto* data = static_cast<const std::uint8_t*>(LockHostHandle(fr, fr->iCCprofileData));
  size = data ? static_cast<std::size_t>(fr->iCCprofileSize) : 0;
  return data;
}

void UnlockProfile(const void* context) {
  const auto* fr = static_cast<const ps::FilterRecord*>(context);
  UnlockHostHandle(fr, fr->iCCprofileData);
}

}  // namespace

ExportRun ExportRunOf(Globals& g) {
  ExportRun run{};
  if (!g.filterRecord || !g.params) return run;
  const ps::FilterRecord& fr = *g.filterRecord;
  run.job = RunJob(g);
  run.imageWidth = fr.filterRect.right - fr.filterRect.left;
  run.imageHeight = fr.filterRect.bottom - fr.filterRect.top;
  run.profile = {LockProfile, UnlockProfile, g.filterRecord};
  return run;
}

}  // namespace stellane
