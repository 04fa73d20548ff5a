// Small stars at a preview zoom, and the star pool.
#include <gtest/gtest.h>

#include <memory>

#include "params/RenderParams.h"
#include "render/RandomTables.h"
#include "render/StarField.h"

namespace stellane {
namespace {

class StarFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    c = std::make_unique<RenderContext>();
    BuildRandomTables(*c, 67676767);
    BuildPermutations(*c, 67676767);
    ClearStarPool(*c);
    c->freeHint = c->lastSlot = 1;
    InitNewRenderParams(params);
  }

  int LiveStars() const {
    int n = 0;
    for (int r = 1; r < kStarPoolSize; ++r) n += c->starPool[r].active;
    return n;
  }

  std::unique_ptr<RenderContext> c;
  RenderParams params{};
};

TEST_F(StarFieldTest, SmallStarsAreWidenedToTwoPixelsAndDimmed) {
  params.density = 100;
  params.starScale = 0;  // size factor 0: side 2 * zoom, brightness 0
  const StarRowConstants k = MakeStarRowConstants(params, 3);
  std::uint32_t cur = 0;
  while (LiveStars() == 0) cur = MaybeBirthStar(*c, k, 10.0f, 20.0f, cur);
  const StarRecord& s = c->starPool[c->starPool[0].next];
  EXPECT_EQ(s.size, 6.0f);
  EXPECT_EQ(s.brightness, 0.0f);
  EXPECT_GE(s.x, 10.0f);
  EXPECT_LT(s.x, 11.0f);
  EXPECT_GE(s.colourIndex, 0);
  EXPECT_LE(s.colourIndex, 255);
}

TEST_F(StarFieldTest, PoolHoldsAtMost5999StarsAndReusesFinishedRecords) {
  params.density = 100;
  params.starScale = 0;
  const StarRowConstants k = MakeStarRowConstants(params, 1);
  // Born on row 0; nothing is walked, so nothing is retired.
  std::uint32_t cur = 0;
  for (int x = 0; x < 60000; ++x) cur = MaybeBirthStar(*c, k, float(x), 0.0f, cur);
  EXPECT_EQ(LiveStars(), kStarPoolSize - 1);

  // Row 10 lies below every star (side 2): a walk retires finished stars
  // (never the head, whose predecessor is the sentinel).
  const int before = LiveStars();
  SumStarLight(*c, k, 0.0f, 10.0f);
  const int after = LiveStars();
  EXPECT_LT(after, before);
  EXPECT_TRUE(c->starPool[c->starPool[0].next].active);

  // The next birth takes the record freed last.
  const std::int32_t freed = c->freeHint;
  EXPECT_FALSE(c->starPool[freed].active);
  while (LiveStars() == after) cur = MaybeBirthStar(*c, k, 0.0f, 11.0f, cur);
  EXPECT_EQ(c->starPool[0].next, freed);
  EXPECT_EQ(c->lastSlot, freed);
}

}  // namespace
}  // namespace stellane
