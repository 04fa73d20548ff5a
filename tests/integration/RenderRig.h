// A minimal host for driving the renderer directly: a float RGB image (the
// compositor writes float pixels unchanged, so tests see the renderer's own
// values), the parameter record and the run buffers from the heap.
#pragma once

#include <cstdint>
#include <vector>

#include "host/Globals.h"
#include "host/HostServices.h"
#include "render/CrtRandom.h"
#include "render/RenderContext.h"
#include "render/RenderRowPaths.h"
#include "render/Renderer.h"

namespace stellane::testing {

struct RenderRig {
  ps::FilterRecord fr{};
  RenderParams params{};
  Globals g{};
  std::int16_t result = 0;
  std::int32_t width;
  std::int32_t height;
  std::vector<float> inRow;
  std::vector<float> outRow;

  RenderRig(std::int32_t w, std::int32_t h)
      : width(w), height(h), inRow(w * 3 + 3), outRow(w * 3 + 3) {
    InitNewRenderParams(params);
    const ps::Rect16 rect = {0, 0, static_cast<std::int16_t>(h), static_cast<std::int16_t>(w)};
    fr.filterRect = fr.inRect = fr.outRect = rect;
    fr.planes = 3;
    fr.depth = 32;
    fr.imageMode = ps::plugInModeRGB96;
    fr.inData = inRow.data();
    fr.outData = outRow.data();
    fr.inRowBytes = fr.outRowBytes = w * 12;
    fr.inHiPlane = fr.outHiPlane = 2;
    g.result = &result;
    g.filterRecord = &fr;
    g.params = &params;
    g.workWidth = w;
    g.workHeight = h;
    AllocateWorkBuffer(&fr, kRenderContextBytes, g.buffers.renderContext);
  }
  ~RenderRig() {
    ReleaseWorkBuffer(&fr, g.buffers.rowRing);
    ReleaseWorkBuffer(&fr, g.buffers.renderContext);
  }

  RenderContext& Context() { return stellane::Context(g); }

  void Prepare(std::uint32_t randSeed = 1) {
    CrtSrand(randSeed);
    PrepareRendering(g);
  }

  // Renders rows 0..height-1 after Prepare; R, G, B floats row by row.
  std::vector<float> RenderRows(RenderPath path = RenderPath::Fast) {
    std::vector<float> image;
    image.reserve(static_cast<std::size_t>(width) * height * 3);
    for (std::int32_t y = 0; y < height; ++y) {
      RenderRowWith(g, y, path);
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
