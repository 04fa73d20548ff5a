// Cost of the pyramid rebuild and of the scaled copy (a thumbnail-sized
// picture drawn from all levels) for a 4000 x 3000 RGBA image, 8-bit,
// 16-bit and float.
#include <benchmark/benchmark.h>

#include "image/TiledImage.h"

namespace stellane {
namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A filled image; freed when the benchmark ends.
struct BigImage {
  TiledImage image;
  explicit BigImage(int format) {
    InitTiledImage(image);
    CreateTiledImage(image, kWidth, kHeight, format);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int v[4] = {x & 255, y & 255, (x ^ y) & 255, 255};
        WriteChannels(image, x, y, 0, v);
      }
    }
  }
  ~BigImage() { ReleaseTiledImage(image); }
};

void Rebuild(benchmark::State& state) {
  BigImage big(int(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(RebuildPyramid(big.image));
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(Rebuild)->Arg(3)->Arg(4)->Arg(9)->Unit(benchmark::kMillisecond);

// 4000 x 3000 into a 500 x 375 picture, half a level towards the sharper
// one: two levels sampled for every pixel.
void ScaledCopy(benchmark::State& state) {
  BigImage big(int(state.range(0)));
  RebuildPyramid(big.image);
  TiledImage picture;
  InitTiledImage(picture);
  CreateTiledImage(picture, 500, 375, 3);
  for (auto _ : state) {
    CopyScaled(big.image, picture, {0, 0, kWidth, kHeight}, {0, 0, 500, 375}, 0.5f);
  }
  state.SetItemsProcessed(state.iterations() * 500 * 375);
  ReleaseTiledImage(picture);
}
BENCHMARK(ScaledCopy)->Arg(3)->Arg(4)->Arg(9)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stellane
