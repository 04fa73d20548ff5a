// The fixed table, the published permutation and the seeded tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <vector>

#include "render/FixedRandom.h"
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

TEST(RandomTables, FixedTableHasItsStatedShape) {
  const std::vector<int> first = {1317, 807, 1939, 1586, 314,  127,  1935, 1264,
                                  1847, 969, 1075, 1400, 1616, 1864, 282,  1750};
  const std::vector<int> last = {846, 557, 4, 1845, 955, 26, 391, 1023};
  EXPECT_EQ(std::vector<int>(kFixedRandom, kFixedRandom + 16), first);
  EXPECT_EQ(std::vector<int>(kFixedRandom + 2040, kFixedRandom + 2048), last);

  std::array<int, 2048> occurrences{};
  std::set<int> lowBytes;
  for (int v : kFixedRandom) {
    ASSERT_LE(v, 2047);
    ++occurrences[v];
    lowBytes.insert(v & 0xff);
  }
  const int distinct = static_cast<int>(
      std::count_if(occurrences.begin(), occurrences.end(), [](int n) { return n > 0; }));
  EXPECT_NEAR(distinct, 1345, 30);  // not a permutation, but evenly spread
  EXPECT_LE(*std::max_element(occurrences.begin(), occurrences.end()), 5);
  EXPECT_EQ(lowBytes.size(), 256u);
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

  for (int k = 0; k < kTableSize; ++k) {
    // Lattice values are the bytes over 255, to the last bit.
    ASSERT_EQ(a->uniformTable[k], static_cast<float>(a->randomBytes[k]) / 255.0f);
    ASSERT_GE(a->randomBytes[k], 0);
    ASSERT_LE(a->randomBytes[k], 255);
    ASSERT_GE(a->uniformTable[k], 0.0f);
    ASSERT_LE(a->uniformTable[k], 1.0f);
    ASSERT_GE(a->bellTable[k], -12.5f);
    ASSERT_LE(a->bellTable[k], 13.5f);
  }
  // A bell around 0.5: most entries within a few units of it.
  const auto near = std::count_if(std::begin(a->bellTable), std::end(a->bellTable),
                                  [](float v) { return v > -3.0f && v < 4.0f; });
  EXPECT_GT(near, kTableSize * 9 / 10);

  // valuePerm is a permutation of 0..255 whose tail repeats its head.
  EXPECT_EQ(std::set<int>(a->valuePerm, a->valuePerm + 256).size(), 256u);
  for (int i = 0; i <= 257; ++i) ASSERT_EQ(a->valuePerm[256 + i], a->valuePerm[i]);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(a->gradientPerm[256 + i], a->gradientPerm[i]);
}

}  // namespace
}  // namespace stellane
