// Renders the effect into an off-screen image (render target 2) with the
// run's own row loop, then puts the run back as it was, so that the dialog
// and its preview carry on unaware. Used by the PSD export and the memory
// dots page.
#pragma once

#include <cstdint>

#include "host/Globals.h"
#include "image/TiledImage.h"

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

// Renders every row of `image` (level 0, its own size) with the current
// parameters. Returns 0, userCanceledErr after a cancel, or the renderer's
// status. The result code of the run, the request, the render target and
// the row bookkeeping are the same afterwards as before.
std::int16_t RenderIntoImage(Globals& g, TiledImage& image, const ExportProgress* progress);

// Called by the row loop's progress report for render target 2.
void ReportExportProgress(Globals& g, std::int32_t done, std::int32_t total);

}  // namespace stellane
