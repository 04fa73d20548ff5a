// Renders the effect into an off-screen image with a job of its own, so the
// run that lends its context and row ring (the dialog and its preview)
// carries on unaware. Used by the PSD exports and the memory dots page.
#pragma once

#include <cstdint>

#include "image/TiledImage.h"
#include "render/RenderJob.h"

namespace stellane {

// What an export shows its user while rows complete. Every member may be
// null. `percent` is called whenever the percentage changes; `cancelWanted`
// every eighth row (a window's Cancel, asked before the host's abort test);
// `cancelling` once, when the rendering stops for either.
struct ExportProgress {
  void (*percent)(void* user, std::int32_t percent);
  bool (*cancelWanted)(void* user);
  void (*cancelling)(void* user);
  void* user;
};

// Renders every row of `image` (level 0, its own size) with the parameters,
// context and row ring of `run` (the job of the run that starts the export)
// at full size from the top-left corner, in the units of the run's image.
// Returns kDone, kCancelled after a cancel, or the renderer's status. The
// run's parameters are not changed; its abort test is asked every eighth row.
RenderStatus RenderIntoImage(const RenderJob& run, TiledImage& image,
                             const ExportProgress* progress);

}  // namespace stellane
