// A run as the exports see it, without a host: the parameter record, a
// context and row ring from the heap, an image of a given depth and size,
// and optionally a document ICC profile.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "export/ExportRender.h"
#include "render/CrtRandom.h"
#include "render/RenderContext.h"

namespace stellane::testing {

struct ExportRig {
  RenderParams params{};
  std::unique_ptr<RenderContext> context = std::make_unique<RenderContext>();
  MemoryBlock ring;
  ExportRun run{};
  std::vector<std::uint8_t> profile;

  // depth 8, 16 or 32: RGB, RGB48 or RGB96.
  ExportRig(std::int32_t width, std::int32_t height, std::int32_t depth) {
    InitNewRenderParams(params);
    run.job = HeapRenderJob(params, *context, ring, width, height);
    run.job.destination.kind = depth == 8    ? ImageKind::k8
                               : depth == 16 ? ImageKind::k16
                                             : ImageKind::kFloat;
    run.imageWidth = width;
    run.imageHeight = height;
  }
  ~ExportRig() { ReleaseBlock(run.job.blocks, ring); }

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
