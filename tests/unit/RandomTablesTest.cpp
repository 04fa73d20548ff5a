// The fixed table, the published permutation and the seeded tables.
#include <gtest/gtest.h>

#include <algorithm>
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

}  // namespace
}  // namespace stellane
