// A rendering driven one row per call from outside (the plug-in's row loop,
// whose host hands over one row at a time) passes only some of its progress
// reports and cancel questions on to the job's RenderProgress: a host's
// progress bar needs no more, and each question is a call into the host.
// The report goes out for the first row and every 32nd row after it (at once
// again after a jump of five rows or more); the cancel test after every 32nd
// row. Only a rendering into the host's image asks: the preview is drawn
// while the dialog waits for it, and an export asks in its own progress.
#pragma once

#include <cstdint>

#include "render/RenderJob.h"

namespace stellane {

struct ProgressThrottle {
  std::int32_t done;  // rows walked
  std::int32_t total;
  std::int32_t lastDone;  // `done` at the previous report call
  std::uint8_t reportCounter;
  std::uint8_t cancelCounter;
};

// A new walk over `total` rows.
inline void StartProgressThrottle(ProgressThrottle& t, std::int32_t total) {
  t = ProgressThrottle{};
  t.total = total;
}

// Before each row: passes the report on when it is due, then counts the row.
void ThrottledRowsDone(const RenderJob& job, ProgressThrottle& t);

// After each row: whether the job's cancel test, asked when it is due, wants
// the rendering stopped.
bool ThrottledCancelWanted(const RenderJob& job, ProgressThrottle& t);

}  // namespace stellane
