// Runs without a host: the parameter record, a context and row ring from the
// heap, and a render job over them. RenderRig renders into one float RGB row
// (the compositor writes float pixels unchanged, so tests see the renderer's
// own values); ExportRig is the run as the exports see it, at a depth of 8,
// 16 or 32 bits (RGB, RGB48 or RGB96), optionally with a document profile.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "export/ExportRender.h"
#include "render/CrtRandom.h"
#include "render/RenderContext.h"
#include "render/RenderRowPaths.h"
#include "render/Renderer.h"

namespace stellane::testing {

struct HeapRun {
  RenderParams params{};
  std::unique_ptr<RenderContext> context = std::make_unique<RenderContext>();
  MemoryBlock ring;
  RenderJob job{};

  HeapRun(std::int32_t width, std::int32_t height) {
    InitNewRenderParams(params);
    job = HeapRenderJob(params, *context, ring, width, height);
  }
  ~HeapRun() { ReleaseBlock(job.blocks, ring); }
  HeapRun(const HeapRun&) = delete;
};

struct RenderRig : HeapRun {
  RenderStatus status = RenderStatus::kDone;
  std::int32_t width, height;
  std::vector<float> inRow, outRow;

  RenderRig(std::int32_t w, std::int32_t h)
      : HeapRun(w, h), width(w), height(h), inRow(w * 3 + 3), outRow(w * 3 + 3) {
    job.destination = RgbRowDestination(ImageKind::kFloat, inRow.data(), outRow.data(), w, h);
  }
  RenderContext& Context() { return *context; }

  void Prepare(std::uint32_t randSeed = 1) {
    CrtSrand(randSeed);
    status = PrepareRendering(job);
  }
  // Renders rows 0..height-1 after Prepare; R, G, B floats row by row.
  std::vector<float> RenderRows(RenderPath path = RenderPath::Fast) {
    std::vector<float> image;
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

struct ExportRig : HeapRun {
  ExportRun run{};
  std::vector<std::uint8_t> profile;

  ExportRig(std::int32_t width, std::int32_t height, std::int32_t depth) : HeapRun(width, height) {
    job.destination.kind = depth == 8    ? ImageKind::k8
                           : depth == 16 ? ImageKind::k16
                                         : ImageKind::kFloat;
    run.job = job;  // the exports take the job by value
    run.imageWidth = width;
    run.imageHeight = height;
  }

  void GiveProfile(std::vector<std::uint8_t> bytes) {
    profile = std::move(bytes);
    run.profile.context = this;
    run.profile.lock = [](const void* rig, std::size_t& size) -> const std::uint8_t* {
      const auto& p = static_cast<const ExportRig*>(rig)->profile;
      size = p.size();
      return p.data();
    };
    run.profile.unlock = [](const void*) {};
  }
};

}  // namespace stellane::testing
