#include "render/ProgressThrottle.h"

namespace stellane {

namespace {

constexpr std::uint8_t kThrottleMask = 31;  // the counters are 5 bits wide
constexpr std::int32_t kJumpReported = 5;

bool Asks(const RenderJob& job) { return job.destination.target == RenderTarget::kHostImage; }

}  // namespace

void ThrottledRowsDone(const RenderJob& job, ProgressThrottle& t) {
  if (Asks(job)) {
    if (t.done - t.lastDone >= kJumpReported) t.reportCounter = 0;
    const RenderProgress& p = job.progress;
    if ((t.reportCounter == 0 || t.done == 0) && p.rowsDone) p.rowsDone(p.user, t.done, t.total);
    t.reportCounter = (t.reportCounter + 1) & kThrottleMask;
    t.lastDone = t.done;
  }
  ++t.done;
}

bool ThrottledCancelWanted(const RenderJob& job, ProgressThrottle& t) {
  if (!Asks(job)) return false;
  t.cancelCounter = (t.cancelCounter + 1) & kThrottleMask;
  const RenderProgress& p = job.progress;
  return t.cancelCounter == 0 && p.cancelWanted && p.cancelWanted(p.user, t.done - 1);
}

}  // namespace stellane
