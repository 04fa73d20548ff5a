// Renders the effect into an off-screen image with a job of its own, so the
// run that lends its context and row ring (the dialog and its preview)
// carries on unaware. Used by the PSD exports and the memory dots page.
#pragma once

#include <cstddef>
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

// Where an export finds the document's colour profile, locked while the file
// is written: `lock` gives the bytes (null: none), `unlock` is called once
// after a lock that gave bytes. Both procs or neither.
struct ProfileAccess {
  const std::uint8_t* (*lock)(const void* context, std::size_t& size);
  void (*unlock)(const void* context);
  const void* context;
};

// What the run that starts an export lends it: its job (parameters, context,
// row ring, where blocks come from, the kind of image the run works on and
// its cancel test), the size of the run's image and its colour profile.
struct ExportRun {
  RenderJob job;
  std::int32_t imageWidth;
  std::int32_t imageHeight;
  ProfileAccess profile;
};

// The exports' results share the plug-in API's numbers where they mean the
// same: 0 done, -108 out of memory, -128 cancelled.
constexpr std::int16_t kExportDone = 0;
constexpr std::int16_t kExportOutOfMemory = -108;
constexpr std::int16_t kExportCancelled = -128;
std::int16_t ExportResult(RenderStatus status);

// Renders every row of `image` (level 0, its own size) with the parameters,
// context and row ring of `run` (the job of the run that starts the export)
// at full size from the top-left corner, in the units of the run's image.
// Returns kDone, kCancelled after a cancel, or the renderer's status. The
// run's parameters are not changed; its cancel test is asked every eighth row.
RenderStatus RenderIntoImage(const RenderJob& run, TiledImage& image,
                             const ExportProgress* progress);

}  // namespace stellane
