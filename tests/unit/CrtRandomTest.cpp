#include <gtest/gtest.h>

#include "render/CrtRandom.h"

namespace stellane {
namespace {

// The Windows C runtime's well-known first values after srand(1) (and its
// default state), and after srand(0).
TEST(CrtRandom, MatchesTheWindowsRuntimeSequence) {
  CrtSrand(1);
  EXPECT_EQ(CrtRand(), 41);
  EXPECT_EQ(CrtRand(), 18467);
  EXPECT_EQ(CrtRand(), 6334);
  EXPECT_EQ(CrtRand(), 26500);
  EXPECT_EQ(CrtRand(), 19169);
  CrtSrand(0);
  EXPECT_EQ(CrtRand(), 38);
  EXPECT_EQ(CrtRand(), 7719);
}

}  // namespace
}  // namespace stellane
