// Nebula row constants, the per-pixel clouds and the vector path.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "render/NebulaBatch.h"
#include "render/NebulaSimd.h"
#include "render/RandomTables.h"

namespace stellane {
namespace {

class NebulaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitNewRenderParams(params);
    c = std::make_unique<RenderContext>();
    Seed(params.randomSeed);
  }
  void Seed(std::int32_t seed) {
    BuildRandomTables(*c, seed);
    BuildPermutations(*c, seed);
    BuildNoiseLattices(*c, *lattices);
    c->lattices = lattices.get();
  }
  std::unique_ptr<RenderContext> c;
  std::unique_ptr<NoiseLattices> lattices = std::make_unique<NoiseLattices>();
  RenderParams params{};
};

bool SameBits(const NebulaSample& a, const NebulaSample& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(NebulaTest, StatedConstants) {
  for (auto [scale, frequency] : {std::pair{0, 2.0f}, {50, 0.25f}, {100, 0.03125f}}) {
    params.nebulaScale = scale;
    EXPECT_FLOAT_EQ(NebulaFrequency(params), frequency) << scale;
  }

  params.paramA = 0;
  params.paramB = 50;
  NebulaRowConstants k = MakeNebulaRowConstants(params);
  EXPECT_FLOAT_EQ(k.biasA, -2.4f);
  EXPECT_FLOAT_EQ(k.biasB, 0.75f);
  params.contrast = 134;  // slope 1.005: the steep branch
  k = MakeNebulaRowConstants(params);
  EXPECT_NEAR(k.slope, 1.045f, 1e-5);
  EXPECT_NEAR(k.offset, 0.95f, 1e-5);
}

TEST_F(NebulaTest, VectorPathsMatchPixelByPixel) {
  struct Setting {
    std::int32_t seed, a, b, contrast, texture, fibrousness;
  };
  const Setting settings[] = {{67676767, 43, 59, 48, 57, 60},
                              {1, 100, 0, 0, 0, 0},
                              {-77, 5, 100, 100, 100, 100},
                              {2047, 70, 30, 150, 20, 130},
                              {9, INT32_MAX, -1, INT32_MIN, INT32_MAX, INT32_MIN}};
  std::mt19937 rng(11);
  for (const Setting& s : settings) {
    Seed(s.seed);
    params.paramA = s.a;
    params.paramB = s.b;
    params.contrast = s.contrast;
    params.texture = s.texture;
    params.fibrousness = s.fibrousness;
    const NebulaRowConstants k = MakeNebulaRowConstants(params);
    for (float spread : {100.0f, 1.0e5f, 1.0e9f}) {
      std::uniform_real_distribution<float> coord(-spread, spread);
      float nx[kNebulaBatch], ny[kNebulaBatch];
      for (int i = 0; i < kNebulaBatch; ++i) nx[i] = coord(rng), ny[i] = coord(rng);
      NebulaSample expected[kNebulaBatch], batch[kNebulaBatch], sse2[kNebulaBatch],
          avx2[kNebulaBatch];
      for (int i = 0; i < kNebulaBatch; ++i) expected[i] = NebulaAt(*c, k, nx[i], ny[i]);
      NebulaAtBatch(*c, k, nx, ny, kNebulaBatch - 3, batch);  // an odd tail too
      ASSERT_EQ(NebulaAtSse2(*c, k, nx, ny, kNebulaBatch, sse2), kNebulaBatch);
      const bool avx = CpuHasAvx2();
      if (avx) {
        ASSERT_EQ(NebulaAtAvx2(*c, k, nx, ny, kNebulaBatch, avx2), kNebulaBatch);
      }
      for (int i = 0; i < kNebulaBatch; ++i) {
        SCOPED_TRACE(::testing::Message() << "seed " << s.seed << " at " << nx[i] << "," << ny[i]);
        ASSERT_TRUE(i >= kNebulaBatch - 3 || SameBits(batch[i], expected[i]));
        ASSERT_TRUE(SameBits(sse2[i], expected[i]));
        ASSERT_TRUE(!avx || SameBits(avx2[i], expected[i]));
      }
    }
  }
}

}  // namespace
}  // namespace stellane
