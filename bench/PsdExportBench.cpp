// The PSD export of a 12-megapixel 8-bit job (4000 x 3000), in its two
// halves: rendering the layer off screen, and writing the file (PackBits
// and raw) into memory.
#include <benchmark/benchmark.h>

#include <vector>

#include "export/ExportRender.h"
#include "export/PsdWriter.h"
#include "host/RenderJobs.h"
#include "render/CrtRandom.h"
#include "render/RenderContext.h"

namespace stellane {
namespace {

constexpr std::int32_t kWidth = 4000;
constexpr std::int32_t kHeight = 3000;

struct ExportBenchRig {
  ps::FilterRecord fr{};
  RenderParams params{};
  Globals g{};
  std::int16_t result = 0;
  TiledImage image{};

  ExportBenchRig() {
    InitNewRenderParams(params);
    fr.filterRect = fr.inRect = fr.outRect = {0, 0, kHeight, kWidth};
    fr.planes = 3;
    fr.depth = 8;
    fr.imageMode = ps::plugInModeRGBColor;
    fr.inHiPlane = fr.outHiPlane = 2;
    g.result = &result;
    g.filterRecord = &fr;
    g.params = &params;
    AllocateWorkBuffer(&fr, kRenderContextBytes, g.buffers.renderContext);
    InitTiledImage(image);
    CreateTiledImage(image, kWidth, kHeight, 3);
  }
  ~ExportBenchRig() {
    ReleaseTiledImage(image);
    ReleaseWorkBuffer(&fr, g.buffers.rowRing);
    ReleaseWorkBuffer(&fr, g.buffers.renderContext);
  }
};

void BM_PsdExportRender8(benchmark::State& state) {
  ExportBenchRig rig;
  for (auto _ : state) {
    CrtSrand(1);
    benchmark::DoNotOptimize(RenderIntoImage(RunJob(rig.g), rig.image, nullptr));
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_PsdExportRender8)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PsdExportWrite8(benchmark::State& state) {
  ExportBenchRig rig;
  CrtSrand(1);
  RenderIntoImage(RunJob(rig.g), rig.image, nullptr);
  const PsdJob job = MakePsdJob(rig.fr, rig.params);
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
