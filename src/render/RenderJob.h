// One rendering as the core sees it: the parameters, the context and row ring
// it works in, the work area, and the destination of its finished pixels.
// Whoever drives the core (the plug-in's run, an export, a test, a
// benchmark) fills one of these; the core knows nothing of hosts.
#pragma once

#include <cstdint>

#include "glue/CompositorTargets.h"
#include "image/MemoryBlocks.h"
#include "params/RenderParams.h"

namespace stellane {

struct RenderContext;

// What a rendering step reports. The plug-in boundary maps it to the host's
// result codes.
enum class RenderStatus { kDone, kOutOfMemory, kCancelled };

// How a rendering reports rows done and asks whether to stop: the driver's
// own progress display and cancel test (for the plug-in, the host's). Either
// member may be null. `rowsDone` comes before a row, `cancelWanted` after the
// row `row`.
struct RenderProgress {
  void (*rowsDone)(void* user, std::int32_t done, std::int32_t total);
  bool (*cancelWanted)(void* user, std::int32_t row);
  void* user;
};

struct RenderJob {
  const RenderParams* params;
  RenderContext* context;
  // The row ring block (GlowRing.h); PrepareRendering fits it from `blocks`.
  MemoryBlock* ring;
  BlockSource blocks;
  std::int32_t workWidth;
  std::int32_t workHeight;
  // Width of the rows a request hands over; the ring holds four columns more.
  std::int32_t requestWidth;
  RenderDestination destination;
  RenderProgress progress;
};

// A job of `width` x `height` in the caller's context and ring, its blocks
// from the heap, and no destination yet.
inline RenderJob HeapRenderJob(const RenderParams& params, RenderContext& context,
                               MemoryBlock& ring, std::int32_t width, std::int32_t height) {
  RenderJob job{};
  job.params = &params;
  job.context = &context;
  job.ring = &ring;
  job.workWidth = job.requestWidth = width;
  job.workHeight = height;
  return job;
}

}  // namespace stellane
