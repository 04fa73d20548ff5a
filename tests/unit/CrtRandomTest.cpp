// The C library generator as the Windows runtime has it, and what the dialog
// draws from it: bounded numbers, Dice's ranges and the random colours.
#include <gtest/gtest.h>

#include <vector>

#include "dialog/MainDialog.h"
#include "render/CrtRandom.h"

namespace stellane {
namespace {

std::vector<int> Draws(std::uint32_t seed, int n, int (*draw)()) {
  CrtSrand(seed);
  std::vector<int> values;
  for (int i = 0; i < n; ++i) values.push_back(draw());
  return values;
}

// The Windows C runtime's well-known first values after srand(1) (and its
// default state), and after srand(0).
TEST(CrtRandom, MatchesTheWindowsRuntimeSequence) {
  EXPECT_EQ(Draws(1, 8, [] { return int(CrtRand()); }),
            (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}));
  EXPECT_EQ(Draws(0, 2, [] { return int(CrtRand()); }), (std::vector<int>{38, 7719}));
}

// Shifted right by 4, the draws after srand(1) are 2, 1154, 395, 1656, 1198,
// 982, 717, 1834.
TEST(DialogRandom, BoundedNumbersDrawWithTheSmallestMask) {
  // Mask 1, nothing rejected.
  EXPECT_EQ(Draws(1, 8, [] { return RandomNumber(0, 1); }),
            (std::vector<int>{0, 0, 1, 0, 0, 0, 1, 0}));
  // Mask 15: 25 + 14 = 39 is drawn fifth and rejected.
  EXPECT_EQ(Draws(1, 5, [] { return RandomNumber(25, 37); }),
            (std::vector<int>{27, 27, 36, 33, 31}));
  EXPECT_EQ(CrtRand(), 11478);
  EXPECT_EQ(Draws(1, 1, [] { return RandomNumber(37, 25); }), std::vector<int>{27})
      << "bounds are swapped";
}

TEST(DialogRandom, DiceStaysInsideItsRanges) {
  for (std::uint32_t seed = 0; seed < 300; ++seed) {
    CrtSrand(seed);
    RenderParams p{};
    DiceParams(p);
    EXPECT_EQ(p.starScale, 35);
    EXPECT_TRUE(p.paramA >= 20 && p.paramA <= 75) << p.paramA;
    EXPECT_TRUE(p.paramB >= 20 && p.paramB <= 75) << p.paramB;
    EXPECT_TRUE(p.randomSeed >= 0 && p.randomSeed <= 2047) << p.randomSeed;
    EXPECT_TRUE(p.brightness >= 25 && p.brightness * p.spareInt1 <= 2175) << p.brightness;
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
  EXPECT_EQ(std::vector<int>({pure.red, pure.green, pure.blue}),
            std::vector<int>({10496, 8960, 48640}));
}

}  // namespace
}  // namespace stellane
