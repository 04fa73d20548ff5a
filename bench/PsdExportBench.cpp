// The PSD export of a 12-megapixel 8-bit job (4000 x 3000), in its two
// halves: rendering the layer off screen, and writing the file (PackBits
// and raw) into memory.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "export/ExportRender.h"
#include "export/PsdWriter.h"
#include "render/CrtRandom.h"
#include "render/RenderContext.h"

namespace stellane {
namespace {

constexpr std::int32_t kWidth = 4000;
constexpr std::int32_t kHeight = 3000;

struct ExportBenchRig {
  RenderParams params{};
  std::unique_ptr<RenderContext> context = std::make_unique<RenderContext>();
  MemoryBlock ring;
  RenderJob job{};
  TiledImage image{};

  ExportBenchRig() {
    InitNewRenderParams(params);
    job = HeapRenderJob(params, *context, ring, kWidth, kHeight);
    job.destination.kind = ImageKind::k8;
    InitTiledImage(image);
    CreateTiledImage(image, kWidth, kHeight, 3);
  }
  ~ExportBenchRig() {
    ReleaseTiledImage(image);
    ReleaseBlock(job.blocks, ring);
  }
};

void BM_PsdExportRender8(benchmark::State& state) {
  ExportBenchRig rig;
  for (auto _ : state) {
    CrtSrand(1);
    benchmark::DoNotOptimize(RenderIntoImage(rig.job, rig.image, nullptr));
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_PsdExportRender8)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PsdExportWrite8(benchmark::State& state) {
  ExportBenchRig rig;
  CrtSrand(1);
  RenderIntoImage(rig.job, rig.image, nullptr);
  const PsdJob job = MakePsdJob(ImageKind::k8, kWidth, kHeight, rig.params);
  PsdExtras extras{nullptr, 0, "20260101", state.range(0) != 0};
  std::vector<std::uint8_t> bytes;
  for (auto _ : state) {
    bytes.clear();
    ByteSink sink = MemorySink(bytes);
    benchmark::DoNotOptimize(WritePsd(job, rig.image, extras, sink));
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_PsdExportWrite8)
    ->Arg(1)
    ->Arg(0)
    ->ArgNames({"packBits"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stellane
