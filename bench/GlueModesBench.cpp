// Cost of ApplyGlueMode per pixel for each family of modes: integer
// per-channel formulas, HSL-based colour modes and the CIELAB-like lattice
// modes, in 8-bit and 16-bit. Reported per pixel over a 4096-pixel row.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <vector>

#include "glue/GlueModes.h"

namespace stellane {
namespace {

constexpr int kPixels = 4096;

struct Row {
  std::vector<std::array<std::int32_t, 3>> rendered, source;
  std::int32_t weights[256];
  explicit Row(std::int32_t max) : rendered(kPixels), source(kPixels) {
    BuildProceduralWeights(weights);
    std::uint32_t state = 12345;
    const auto next = [&] {
      state = state * 1103515245u + 12345u;
      return static_cast<std::int32_t>((state >> 8) % static_cast<std::uint32_t>(max + 1));
    };
    for (int i = 0; i < kPixels; ++i) {
      for (int c = 0; c < 3; ++c) {
        rendered[i][c] = next();
        source[i][c] = next();
      }
    }
  }
};

void RunModes(benchmark::State& state, std::initializer_list<std::int32_t> modes, bool eightBit) {
  const Row row(eightBit ? 255 : 32768);
  for (auto _ : state) {
    for (std::int32_t mode : modes) {
      for (int i = 0; i < kPixels; ++i) {
        std::array<std::int32_t, 3> r = row.rendered[i];
        ApplyGlueMode(mode, r.data(), row.source[i].data(), eightBit, row.weights);
        benchmark::DoNotOptimize(r);
      }
    }
  }
  state.counters["ns_per_pixel"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kPixels * modes.size(),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

constexpr bool k8 = true;
constexpr bool k16 = false;

void IntegerModes(benchmark::State& s, bool eightBit) {
  RunModes(s, {2, 4, 9, 10, 11, 13, 20, 25, 27, 30, 39, 44, 52, 62}, eightBit);
}
void HslModes(benchmark::State& s, bool eightBit) {
  RunModes(s, {15, 16, 22, 23, 46, 53, 59, 60}, eightBit);
}
void LabModes(benchmark::State& s, bool eightBit) { RunModes(s, {54, 55, 56, 57}, eightBit); }

BENCHMARK_CAPTURE(IntegerModes, 8bit, k8);
BENCHMARK_CAPTURE(IntegerModes, 16bit, k16);
BENCHMARK_CAPTURE(HslModes, 8bit, k8);
BENCHMARK_CAPTURE(HslModes, 16bit, k16);
BENCHMARK_CAPTURE(LabModes, 8bit, k8);
BENCHMARK_CAPTURE(LabModes, 16bit, k16);

}  // namespace
}  // namespace stellane
