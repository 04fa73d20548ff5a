// Rendering cost per pixel: the rows of a 1-megapixel 8-bit RGB image with the
// glue mode "normal", single-threaded, on the fast path and on the scalar
// reference path. Reported as time per pixel (ns_per_pixel).
#include <benchmark/benchmark.h>

#include <vector>

#include "host/Globals.h"
#include "host/HostServices.h"
#include "render/CrtRandom.h"
#include "render/RenderRowPaths.h"
#include "render/Renderer.h"

namespace stellane {
namespace {

enum class Content { Defaults, NebulaOnly, StarsOnly };

struct BenchImage {
  static constexpr std::int32_t kWidth = 1000;
  static constexpr std::int32_t kHeight = 1000;

  explicit BenchImage(Content content) : inRow(kWidth * 3), outRow(kWidth * 3) {
    InitNewRenderParams(params);
    if (content == Content::NebulaOnly) params.density = 0;
    if (content == Content::StarsOnly) params.paramA = params.paramB = 0;
    const ps::Rect16 rect = {0, 0, kHeight, kWidth};
    fr.filterRect = fr.inRect = fr.outRect = rect;
    fr.planes = 3;
    fr.depth = 8;
    fr.imageMode = ps::plugInModeRGBColor;
    fr.inData = inRow.data();
    fr.outData = outRow.data();
    fr.inRowBytes = fr.outRowBytes = kWidth * 3;
    fr.inHiPlane = fr.outHiPlane = 2;
    g.result = &result;
    g.filterRecord = &fr;
    g.params = &params;
    g.workWidth = kWidth;
    g.workHeight = kHeight;
    AllocateWorkBuffer(&fr, kRenderContextBytes, g.buffers.renderContext);
  }
  ~BenchImage() {
    ReleaseWorkBuffer(&fr, g.buffers.rowRing);
    ReleaseWorkBuffer(&fr, g.buffers.renderContext);
  }

  ps::FilterRecord fr{};
  RenderParams params{};
  Globals g{};
  std::int16_t result = 0;
  std::vector<std::uint8_t> inRow;
  std::vector<std::uint8_t> outRow;
};

void RenderImage(benchmark::State& state, Content content, RenderPath path) {
  BenchImage image(content);
  for (auto _ : state) {
    CrtSrand(1);
    PrepareRendering(image.g);
    for (std::int32_t y = 0; y < BenchImage::kHeight; ++y) RenderRowWith(image.g, y, path);
    benchmark::DoNotOptimize(image.outRow.data());
  }
  const double pixels = double(BenchImage::kWidth) * BenchImage::kHeight;
  state.counters["ns_per_pixel"] = benchmark::Counter(
      pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Defaults(benchmark::State& s) { RenderImage(s, Content::Defaults, RenderPath::Fast); }
void NebulaOnly(benchmark::State& s) { RenderImage(s, Content::NebulaOnly, RenderPath::Fast); }
void StarsOnly(benchmark::State& s) { RenderImage(s, Content::StarsOnly, RenderPath::Fast); }
void DefaultsScalarReference(benchmark::State& s) {
  RenderImage(s, Content::Defaults, RenderPath::Reference);
}
void NebulaOnlyScalarReference(benchmark::State& s) {
  RenderImage(s, Content::NebulaOnly, RenderPath::Reference);
}
void StarsOnlyScalarReference(benchmark::State& s) {
  RenderImage(s, Content::StarsOnly, RenderPath::Reference);
}

BENCHMARK(Defaults)->Unit(benchmark::kMillisecond);
BENCHMARK(NebulaOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(StarsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(DefaultsScalarReference)->Unit(benchmark::kMillisecond);
BENCHMARK(NebulaOnlyScalarReference)->Unit(benchmark::kMillisecond);
BENCHMARK(StarsOnlyScalarReference)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stellane

BENCHMARK_MAIN();
