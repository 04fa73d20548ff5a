// Rendering cost per pixel: the rows of a 1-megapixel 8-bit RGB image with the
// glue mode "normal", single-threaded, on the fast path and on the scalar
// reference path, and once the 12-megapixel default case (4000 x 3000).
// Reported as time per pixel (ns_per_pixel).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "render/CrtRandom.h"
#include "render/RenderContext.h"
#include "render/RenderRowPaths.h"
#include "render/Renderer.h"

namespace stellane {
namespace {

enum class Content { Defaults, NebulaOnly, StarsOnly };

struct BenchImage {
  BenchImage(Content content, std::int16_t width, std::int16_t height)
      : width(width), height(height), inRow(width * 3), outRow(width * 3) {
    InitNewRenderParams(params);
    if (content == Content::NebulaOnly) params.density = 0;
    if (content == Content::StarsOnly) params.paramA = params.paramB = 0;
    job = HeapRenderJob(params, *context, ring, width, height);
    job.destination = RgbRowDestination(ImageKind::k8, inRow.data(), outRow.data(), width, height);
  }
  ~BenchImage() { ReleaseBlock(job.blocks, ring); }

  std::int16_t width;
  std::int16_t height;
  RenderParams params{};
  std::unique_ptr<RenderContext> context = std::make_unique<RenderContext>();
  MemoryBlock ring;
  RenderJob job{};
  std::vector<std::uint8_t> inRow;
  std::vector<std::uint8_t> outRow;
};

void RenderImage(benchmark::State& state, Content content, RenderPath path,
                 std::int16_t width = 1000, std::int16_t height = 1000) {
  BenchImage image(content, width, height);
  for (auto _ : state) {
    CrtSrand(1);
    PrepareRendering(image.job);
    for (std::int32_t y = 0; y < height; ++y) RenderRowWith(image.job, y, path);
    benchmark::DoNotOptimize(image.outRow.data());
  }
  const double pixels = double(width) * height;
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

// The target case: 4000 x 3000 with the defaults, reported in seconds per image.
void DefaultsTwelveMegapixels(benchmark::State& s) {
  RenderImage(s, Content::Defaults, RenderPath::Fast, 4000, 3000);
}

BENCHMARK(Defaults)->Unit(benchmark::kMillisecond);
BENCHMARK(NebulaOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(StarsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(DefaultsScalarReference)->Unit(benchmark::kMillisecond);
BENCHMARK(NebulaOnlyScalarReference)->Unit(benchmark::kMillisecond);
BENCHMARK(StarsOnlyScalarReference)->Unit(benchmark::kMillisecond);
BENCHMARK(DefaultsTwelveMegapixels)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace stellane

BENCHMARK_MAIN();
