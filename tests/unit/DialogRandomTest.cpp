// Random settings: the bounded random numbers, Dice's ranges and the random
// colours, over known seeds of the C library generator.
#include <gtest/gtest.h>

#include "dialog/MainDialog.h"
#include "render/CrtRandom.h"

namespace stellane {
namespace {

// The C library generator seeded with 1 starts 41, 18467, 6334, 26500,
// 19169, 15724, 11478, 29358: shifted right by 4 that is 2, 1154, 395, 1656,
// 1198, 982, 717, 1834.
TEST(DialogRandom, BoundedNumbersDrawWithTheSmallestMask) {
  CrtSrand(1);
  std::vector<int> bits;
  for (int i = 0; i < 8; ++i) bits.push_back(RandomNumber(0, 1));
  EXPECT_EQ(bits, (std::vector<int>{0, 0, 1, 0, 0, 0, 1, 0})) << "mask 1, nothing rejected";

  CrtSrand(1);
  std::vector<int> values;
  for (int i = 0; i < 5; ++i) values.push_back(RandomNumber(25, 37));
  // Mask 15: 25 + 14 = 39 is drawn fifth and rejected.
  EXPECT_EQ(values, (std::vector<int>{27, 27, 36, 33, 31}));
  EXPECT_EQ(CrtRand(), 11478);

  CrtSrand(1);
  EXPECT_EQ(RandomNumber(37, 25), 27) << "bounds are swapped";
}

TEST(DialogRandom, DiceStaysInsideItsRanges) {
  for (std::uint32_t seed = 0; seed < 300; ++seed) {
    CrtSrand(seed);
    RenderParams p{};
    DiceParams(p);
    EXPECT_EQ(p.starScale, 35);
    EXPECT_GE(p.paramA, 20);
    EXPECT_LE(p.paramA, 75);
    EXPECT_GE(p.paramB, 20);
    EXPECT_LE(p.paramB, 75);
    EXPECT_GE(p.randomSeed, 0);
    EXPECT_LE(p.randomSeed, 2047);
    EXPECT_LE(p.brightness * p.spareInt1, 2175);
    EXPECT_GE(p.brightness, 25);
    EXPECT_LE(p.depth, 50);
    EXPECT_TRUE(p.spareInt15 == 0 || (p.spareInt15 >= 30 && p.spareInt15 <= 80));
  }
}

TEST(DialogRandom, RandomColourMixesTowardsGrey) {
  // Fully desaturated: every channel is the grey of the three draws.
  CrtSrand(1);
  const Color16 grey = RandomColour(256);
  EXPECT_EQ(grey.red, grey.green);
  EXPECT_EQ(grey.green, grey.blue);
  // 41, 18467 and 6334, each x 256 mod 65536, unmixed.
  CrtSrand(1);
  const Color16 pure = RandomColour(0);
  EXPECT_EQ(pure.red, 10496);
  EXPECT_EQ(pure.green, 8960);
  EXPECT_EQ(pure.blue, 48640);
}

}  // namespace
}  // namespace stellane
