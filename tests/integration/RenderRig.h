// The renderer driven directly: a render job whose destination is one float
// RGB row (the compositor writes float pixels unchanged, so tests see the
// renderer's own values), with the parameter record, context and row ring
// from the heap.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "render/CrtRandom.h"
#include "render/RenderContext.h"
#include "render/RenderRowPaths.h"
#include "render/Renderer.h"

namespace stellane::testing {

struct RenderRig {
  RenderParams params{};
  std::unique_ptr<RenderContext> context = std::make_unique<RenderContext>();
  MemoryBlock ring;
  RenderJob job{};
  RenderStatus status = RenderStatus::kDone;
  std::int32_t width;
  std::int32_t height;
  std::vector<float> inRow;
  std::vector<float> outRow;

  RenderRig(std::int32_t w, std::int32_t h)
      : width(w), height(h), inRow(w * 3 + 3), outRow(w * 3 + 3) {
    InitNewRenderParams(params);
    job = HeapRenderJob(params, *context, ring, w, h);
    job.destination = RgbRowDestination(ImageKind::kFloat, inRow.data(), outRow.data(), w, h);
  }
  ~RenderRig() { ReleaseBlock(job.blocks, ring); }

  RenderContext& Context() { return *context; }

  void Prepare(std::uint32_t randSeed = 1) {
    CrtSrand(randSeed);
    status = PrepareRendering(job);
  }

  // Renders rows 0..height-1 after Prepare; R, G, B floats row by row.
  std::vector<float> RenderRows(RenderPath path = RenderPath::Fast) {
    std::vector<float> image;
    image.reserve(static_cast<std::size_t>(width) * height * 3);
    for (std::int32_t y = 0; y < height && status == RenderStatus::kDone; ++y) {
      status = RenderRowWith(job, y, path);
      image.insert(image.end(), outRow.begin(), outRow.begin() + width * 3);
    }
    return image;
  }

  std::vector<float> Render(std::uint32_t randSeed = 1, RenderPath path = RenderPath::Fast) {
    Prepare(randSeed);
    return RenderRows(path);
  }

  float At(const std::vector<float>& image, int x, int y, int channel) const {
    return image[(static_cast<std::size_t>(y) * width + x) * 3 + channel];
  }
};

// Nebula only, or stars only.
inline void NoStars(RenderParams& p) { p.density = 0; }
inline void NoNebula(RenderParams& p) { p.paramA = p.paramB = 0; }

}  // namespace stellane::testing
