// The fixed table, the published permutation and the seeded tables, and
// properties of the noise functions that hold for any seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "render/FixedRandom.h"
#include "render/Noise.h"
#include "render/RandomTables.h"

namespace stellane {
namespace {

std::unique_ptr<RenderContext> TablesFor(std::int32_t seed) {
  auto c = std::make_unique<RenderContext>();
  BuildRandomTables(*c, seed);
  BuildPermutations(*c, seed);
  return c;
}

bool SameTables(const RenderContext& a, const RenderContext& b) {
  return std::equal(std::begin(a.randomBytes), std::end(a.randomBytes), b.randomBytes) &&
         std::equal(std::begin(a.uniformTable), std::end(a.uniformTable), b.uniformTable) &&
         std::equal(std::begin(a.bellTable), std::end(a.bellTable), b.bellTable) &&
         std::equal(std::begin(a.valuePerm), std::end(a.valuePerm), b.valuePerm) &&
         std::equal(std::begin(a.gradientPerm), std::end(a.gradientPerm), b.gradientPerm);
}

TEST(RandomTables, FixedTableHasItsStatedEnds) {
  const std::vector<int> first = {1317, 807, 1939, 1586, 314,  127,  1935, 1264,
                                  1847, 969, 1075, 1400, 1616, 1864, 282,  1750};
  const std::vector<int> last = {846, 557, 4, 1845, 955, 26, 391, 1023};
  EXPECT_EQ(std::vector<int>(kFixedRandom, kFixedRandom + 16), first);
  EXPECT_EQ(std::vector<int>(kFixedRandom + 2040, kFixedRandom + 2048), last);
  EXPECT_LE(*std::max_element(kFixedRandom, kFixedRandom + 2048), 2047);  // eleven bits
}

TEST(RandomTables, ImprovedNoisePermutationIsThePublishedOne) {
  const std::int32_t* p = kImprovedNoisePermutation;
  EXPECT_EQ(std::vector<int>(p, p + 8), (std::vector<int>{151, 160, 137, 91, 90, 15, 131, 13}));
  EXPECT_EQ(std::vector<int>(p + 253, p + 256), (std::vector<int>{61, 156, 180}));
  EXPECT_EQ(std::set<int>(p, p + 256).size(), 256u);
  EXPECT_EQ(*std::max_element(p, p + 256), 255);
}

TEST(RandomTables, SeedsGiveReproducibleTablesInTheirRanges) {
  const auto a = TablesFor(67676767);
  EXPECT_TRUE(SameTables(*a, *TablesFor(67676767)));
  EXPECT_TRUE(SameTables(*a, *TablesFor(67676767 + 2048)));
  EXPECT_TRUE(SameTables(*TablesFor(-5), *TablesFor(-5 + 4096)));

  const auto b = TablesFor(67676767 + 256);
  EXPECT_TRUE(std::equal(std::begin(a->gradientPerm), std::end(a->gradientPerm), b->gradientPerm));
  EXPECT_FALSE(std::equal(std::begin(a->randomBytes), std::end(a->randomBytes), b->randomBytes));
  EXPECT_FALSE(SameTables(*a, *TablesFor(12345)));

  // Other seeds than the pictures' own: the bell table stays in its range.
  const auto [low, high] = std::minmax_element(std::begin(a->bellTable), std::end(a->bellTable));
  EXPECT_GE(*low, -12.5f);
  EXPECT_LE(*high, 13.5f);
  // valuePerm is a permutation of 0..255 whose tail repeats its head.
  EXPECT_EQ(std::set<int>(a->valuePerm, a->valuePerm + 256).size(), 256u);
  for (int i = 0; i <= 257; ++i) ASSERT_EQ(a->valuePerm[256 + i], a->valuePerm[i]);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(a->gradientPerm[256 + i], a->gradientPerm[i]);
}

class NoiseTest : public ::testing::TestWithParam<std::int32_t> {
 protected:
  void SetUp() override {
    c = std::make_unique<RenderContext>();
    BuildRandomTables(*c, GetParam());
    BuildPermutations(*c, GetParam());
  }
  std::unique_ptr<RenderContext> c;
};

TEST_P(NoiseTest, LatticePoints) {
  for (int x = -300; x <= 300; x += 7) {
    for (int y = -300; y <= 300; y += 11) {
      ASSERT_EQ(GradientNoise(*c, float(x), float(y)), 0.0f) << x << "," << y;
      // ValueNoise at a lattice point is that point's lattice value, a byte
      // over 255: no blend of neighbours.
      const float v = ValueNoise(*c, float(x), float(y));
      ASSERT_EQ(v, std::round(v * 255.0f) / 255.0f) << x << "," << y;
    }
  }
}

TEST_P(NoiseTest, RangesHoldEverywhere) {
  std::mt19937 rng(GetParam());
  std::uniform_real_distribution<float> coord(-20000.0f, 20000.0f);
  for (int i = 0; i < 3000; ++i) {
    const float x = coord(rng);
    const float y = coord(rng);
    const float v = ValueNoise(*c, x, y);
    ASSERT_GE(v, 0.0f);
    ASSERT_LE(v, 1.0f);
    const float g = GradientNoise(*c, x, y);
    ASSERT_LE(std::fabs(g), 1.05f);
    if (i % 20 == 0) {
      ASSERT_LE(TextureNoise(*c, x * 0.01f, y * 0.01f, 7.0f, 5, 0.8f), 1.0f);
    }
  }
}

TEST_P(NoiseTest, ContinuousWhereTheOffsetCoordinateCrossesZero) {
  const float eps = 1.0f / 1024.0f;
  for (float y : {-4096.0f, -1000.5f, 3.25f}) {
    const float below = ValueNoise(*c, -4096.0f - eps, y);
    const float above = ValueNoise(*c, -4096.0f + eps, y);
    EXPECT_NEAR(below, above, 0.01f);
    EXPECT_NEAR(ValueNoise(*c, y, -4096.0f - eps), ValueNoise(*c, y, -4096.0f + eps), 0.01f);
  }
  EXPECT_NEAR(GradientNoise(*c, -eps, 0.3f), GradientNoise(*c, eps, 0.3f), 0.01f);
}

TEST_P(NoiseTest, CoordinatesBeyondAnyLatticeStayDefined) {
  for (float v : {3.0e9f, -3.0e9f, 1.0e30f, INFINITY, -INFINITY, NAN}) {
    // Only that they return: no undefined conversion (UBSan watches).
    (void)GradientNoise(*c, v, 1.5f);
    (void)ValueNoise(*c, 1.5f, v);
    (void)TextureNoise(*c, v, v, 7.0f, 5, 0.5f);
  }
  // Beyond 2^31 every float is a multiple of 256: the lattice repeats there.
  EXPECT_EQ(ValueNoise(*c, 4294967296.0f, 0.0f), ValueNoise(*c, -4096.0f, 0.0f));
}

INSTANTIATE_TEST_SUITE_P(Seeds, NoiseTest, ::testing::Values(67676767, 0, -1, 2047, 99991));

}  // namespace
}  // namespace stellane
