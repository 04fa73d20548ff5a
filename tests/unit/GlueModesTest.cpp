// The 62 glue modes through ApplyGlueMode: stated values, identities,
// symmetry and monotonicity, ranges over every input, and the 16-bit forms.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "glue/GlueModes.h"

namespace stellane {
namespace {

using Px = std::array<std::int32_t, 3>;

// clang-format off
enum Mode : std::int32_t {
  kNormal = 1, kProceduralPlus = 2, kDifference = 4, kLighten = 5, kDarken = 6, kAdd = 7,
  kSubtract = 8, kMultiply = 9, kScreen = 10, kHardLight = 11, kOverlay = 12, kExclusion = 14,
  kColor = 15, kLuminance = 16, kLinearLight = 17, kPinLight = 18, kVividA = 20,
  kSimilarity = 24, kCross = 25, kHardDiff = 26, kSoftLight = 27, kBright = 28, kDim = 29,
  kDodge = 30, kBurn = 31, kAce = 32, kKing = 33, kQueen = 34, kJack = 35, kAnd = 36, kOr = 37,
  kXor = 38, kMultiBright = 39, kWax = 46, kWane = 47, kNorth = 48, kSouth = 49, kEast = 50,
  kWest = 51, kHardMix = 52, kFrontal = 53, kParietal = 54, kTemporal = 55, kOccipital = 56,
  kLimbic = 57, kDextrous = 58, kSinister = 59, kAnterior = 60, kPosterior = 61, kScreenDim = 62,
};
// clang-format on

const std::int32_t* Weights() {
  static const auto table = [] {
    std::array<std::int32_t, 256> t{};
    BuildProceduralWeights(t.data());
    return t;
  }();
  return table.data();
}

Px Glue(std::int32_t mode, Px r, Px s, bool eightBit = true) {
  ApplyGlueMode(mode, r.data(), s.data(), eightBit, Weights());
  return r;
}
std::int32_t Glue1(std::int32_t mode, std::int32_t r, std::int32_t s, bool eightBit = true) {
  return Glue(mode, {r, r, r}, {s, s, s}, eightBit)[0];
}

TEST(GlueModes, ProceduralWeightsAreATent) {
  EXPECT_EQ(Weights()[0], 0);
  EXPECT_EQ(Weights()[1], 2);
  EXPECT_EQ(Weights()[127], 254);
  EXPECT_EQ(Weights()[128], 255);
  EXPECT_EQ(Weights()[129], 253);
  EXPECT_EQ(Weights()[255], 1);
}

TEST(GlueModes, NormalAndUnknownNumbersKeepTheRenderedPixel) {
  const Px r{200, 17, 90}, s{3, 250, 128};
  for (std::int32_t mode : {-5, 0, 1, 63, 1000}) {
    EXPECT_EQ(Glue(mode, r, s), r) << mode;
    EXPECT_EQ(Glue(mode, {20000, 3, 32768}, s, false), (Px{20000, 3, 32768})) << mode;
  }
}

TEST(GlueModes, StatedEightBitValues) {
  // "procedural +": almost the rendered value at middle grey, the source at black.
  EXPECT_EQ(Glue1(kProceduralPlus, 200, 128), (255 * 200) >> 8);
  EXPECT_EQ(Glue1(kProceduralPlus, 200, 0), 0);
  // "difference" and "exclusion" differ by one at R = 0, S = 255.
  EXPECT_EQ(Glue1(kDifference, 0, 255), 254);
  EXPECT_EQ(Glue1(kExclusion, 0, 255), 255);
  EXPECT_EQ(Glue1(kDodge, 255, 255), 255);
  EXPECT_EQ(Glue1(kBurn, 0, 0), 0);
  EXPECT_EQ(Glue1(kCross, 0, 128), 0);
  EXPECT_EQ(Glue1(kHardMix, 100, 155), 0);
  EXPECT_EQ(Glue1(kHardMix, 100, 156), 255);
  EXPECT_EQ(Glue1(kDextrous, 0, 0), 255);
  EXPECT_EQ(Glue1(kDextrous, 90, 90), 127);
  EXPECT_EQ(Glue1(kAnd, 0b1100, 0b1010), 0b1000);
  EXPECT_EQ(Glue1(kOr, 0b1100, 0b1010), 0b1110);
  EXPECT_EQ(Glue1(kXor, 0b1100, 0b1010), 0b0110);
}

TEST(GlueModes, NeutralSourcesLeaveTheRenderedValueNearlyAlone) {
  for (std::int32_t r = 0; r <= 255; ++r) {
    EXPECT_EQ(Glue1(kScreen, r, 0), r);
    EXPECT_EQ(Glue1(kAdd, r, 0), r);
    EXPECT_EQ(Glue1(kSubtract, r, 0), r);
    EXPECT_NEAR(Glue1(kMultiply, r, 255), r, 1);
    EXPECT_NEAR(Glue1(kOverlay, r, 128), r, 2);
    EXPECT_NEAR(Glue1(kHardLight, 128, r), r, 2);
    EXPECT_EQ(Glue1(kPinLight, r, r), r);
    EXPECT_EQ(Glue1(kHardDiff, r, r), 0);
  }
}

TEST(GlueModes, BrightAndDimCompareWholePixels) {
  const Px dark{10, 20, 30}, light{200, 210, 220};
  EXPECT_EQ(Glue(kBright, dark, light), light);
  EXPECT_EQ(Glue(kBright, light, dark), light);
  EXPECT_EQ(Glue(kDim, light, dark), dark);
  EXPECT_EQ(Glue(kDim, dark, light), dark);
  // Equal lumas once the low 8 bits are dropped keep the rendered pixel.
  const Px a{100, 100, 100}, b{100, 100, 101};
  EXPECT_EQ(Glue(kBright, a, b), a);
  EXPECT_EQ(Glue(kDim, b, a), b);
}

TEST(GlueModes, ChannelRotations) {
  // "north": the rendered green pulls the red toward the source.
  EXPECT_EQ(Glue(kNorth, {180, 0, 40}, {20, 90, 250})[0], 180);
  EXPECT_EQ(Glue(kNorth, {180, 255, 40}, {20, 90, 250})[0], (180 + 255 * 20) >> 8);
  // "south" pulls the red by the rendered blue; "east" and "west" by the
  // source's green and blue.
  EXPECT_EQ(Glue(kSouth, {180, 255, 0}, {20, 90, 250})[0], 180);
  EXPECT_EQ(Glue(kEast, {180, 7, 9}, {20, 0, 250})[0], 180);
  EXPECT_EQ(Glue(kWest, {180, 7, 9}, {20, 250, 0})[0], 180);
  // A source equal to the rendered pixel is a fixed point of all four.
  for (std::int32_t mode : {kNorth, kSouth, kEast, kWest}) {
    const Px p{255, 128, 0};
    const Px out = Glue(mode, p, p);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(out[c], p[c], 1) << mode;
  }
}

TEST(GlueModes, HslModesKeepTheirPartsOfEachPixel) {
  // A grey rendered pixel has no hue: "color" gives a grey of the source's luma.
  const Px colour = Glue(kColor, {128, 128, 128}, {200, 40, 90});
  const std::int32_t luma = (77 * 200 + 150 * 40 + 28 * 90) >> 8;
  EXPECT_EQ(colour[0], colour[1]);
  EXPECT_EQ(colour[1], colour[2]);
  EXPECT_NEAR(colour[0], luma, 1);
  // "luminance" over a grey source: a grey of the rendered luma.
  const Px lum = Glue(kLuminance, {200, 40, 90}, {60, 60, 60});
  EXPECT_EQ(lum[0], lum[2]);
  EXPECT_NEAR(lum[0], luma, 1);
  // "wax" keeps nothing of a grey rendered pixel; "wane" keeps all of a
  // middle grey.
  EXPECT_EQ(Glue(kWax, {128, 128, 128}, {10, 220, 30}), (Px{10, 220, 30}));
  const Px waned = Glue(kWane, {128, 128, 128}, {10, 220, 30});
  for (std::int32_t v : waned) EXPECT_NEAR(v, 128, 1);
  // "frontal": a black source weighs nothing and its lightness wins.
  EXPECT_EQ(Glue(kFrontal, {200, 40, 90}, {0, 0, 0}), (Px{0, 0, 0}));
  const Px front = Glue(kFrontal, {200, 40, 90}, {255, 255, 255});
  EXPECT_NEAR(front[0], 200, 1);
  EXPECT_NEAR(front[1], 40, 1);
  EXPECT_NEAR(front[2], 90, 1);
  // "anterior" of black and "posterior" over black stay black.
  EXPECT_EQ(Glue(kAnterior, {0, 0, 0}, {200, 40, 90}), (Px{0, 0, 0}));
  EXPECT_EQ(Glue(kPosterior, {200, 40, 90}, {0, 0, 0}), (Px{0, 0, 0}));
  EXPECT_EQ(Glue(kAnterior, {255, 255, 255}, {255, 255, 255}), (Px{255, 255, 255}));
}

TEST(GlueModes, LabModesWithNeutralPartnersComeBackClose) {
  // Pin light of a triple over itself, lightness multiplied by white or
  // screened with black: only the lattice round trip remains.
  const Px colours[] = {{120, 100, 140}, {150, 130, 90}, {100, 140, 120}};
  for (const Px& p : colours) {
    const Px results[] = {Glue(kOccipital, p, p), Glue(kLimbic, p, p),
                          Glue(kParietal, p, {255, 255, 255}), Glue(kTemporal, p, {0, 0, 0})};
    for (const Px& out : results) {
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(out[c], p[c], 12);
    }
  }
}

constexpr std::int32_t kSymmetric[] = {kDifference, kLighten,     kDarken,   kAdd, kMultiply,
                                       kSimilarity, kHardDiff,    kAnd,      kOr,  kXor,
                                       kHardMix,    kMultiBright, kScreenDim};

TEST(GlueModes, SymmetricModesIgnoreOrderAndMonotonicModesRise) {
  for (std::int32_t mode : kSymmetric) {
    for (std::int32_t r = 0; r <= 255; r += 3) {
      for (std::int32_t s = 0; s <= 255; s += 5) {
        ASSERT_EQ(Glue1(mode, r, s), Glue1(mode, s, r)) << mode << " " << r << " " << s;
      }
    }
  }
  for (std::int32_t mode : {kAdd, kMultiply, kScreen, kLighten, kDarken, kDodge, kBurn, kHardMix,
                            kMultiBright, kScreenDim, kLinearLight}) {
    for (std::int32_t r = 0; r <= 255; r += 7) {
      for (std::int32_t s = 1; s <= 255; ++s) {
        ASSERT_LE(Glue1(mode, r, s - 1), Glue1(mode, r, s)) << mode << " " << r << " " << s;
      }
    }
  }
}

// Every mode, every 8-bit pair, on grey and on coloured pixels: results stay
// in range (and UBSan sees every arithmetic path).
TEST(GlueModes, EveryEightBitPairStaysInRange) {
  for (std::int32_t mode = 1; mode <= kGlueModeCount; ++mode) {
    const bool colourSpace =
        (mode >= 46 && mode <= 61) || mode == 15 || mode == 16 || mode == 22 || mode == 23;
    const int step = colourSpace ? 3 : 1;
    for (std::int32_t r = 0; r <= 255; r += step) {
      for (std::int32_t s = 0; s <= 255; s += step) {
        const Px grey = Glue(mode, {r, r, r}, {s, s, s});
        const Px colour = Glue(mode, {r, 255 - r, r / 2}, {s / 3, s, 255 - s});
        for (int c = 0; c < 3; ++c) {
          ASSERT_GE(grey[c], 0) << mode << " " << r << " " << s;
          ASSERT_LE(grey[c], 255) << mode << " " << r << " " << s;
          ASSERT_GE(colour[c], 0) << mode << " " << r << " " << s;
          ASSERT_LE(colour[c], 255) << mode << " " << r << " " << s;
        }
      }
    }
  }
}

TEST(GlueModes, SixteenBitSampleStaysInRange) {
  constexpr std::int32_t kValues[] = {0,     1,     127,   128,   129,   8191,  16383,
                                      16384, 16385, 24000, 32639, 32640, 32767, 32768};
  for (std::int32_t mode = 1; mode <= kGlueModeCount; ++mode) {
    for (std::int32_t r = 0; r <= 32768; r += 1024 + 3) {
      for (std::int32_t s : kValues) {
        for (const auto& [rp, sp] : {std::pair<Px, Px>{{r, r, r}, {s, s, s}},
                                     std::pair<Px, Px>{{s, r, 32768 - r}, {r, 32768 - s, s / 2}},
                                     std::pair<Px, Px>{{s, s, s}, {r, r, r}}}) {
          const Px out = Glue(mode, rp, sp, false);
          for (int c = 0; c < 3; ++c) {
            ASSERT_GE(out[c], 0) << mode << " " << r << " " << s;
            ASSERT_LE(out[c], 32768) << mode << " " << r << " " << s;
          }
        }
      }
    }
  }
}

TEST(GlueModes, SixteenBitFormsDifferingFromTheSubstitution) {
  // "difference" and "exclusion" coincide in 16 bits.
  for (std::int32_t r = 0; r <= 32768; r += 4099) {
    for (std::int32_t s = 0; s <= 32768; s += 3001) {
      EXPECT_EQ(Glue1(kDifference, r, s, false), Glue1(kExclusion, r, s, false));
    }
  }
  // "procedural +" mixes half and half at the middle source value.
  EXPECT_EQ(Glue1(kProceduralPlus, 32768, 16384, false), 24576);
  EXPECT_EQ(Glue1(kProceduralPlus, 0, 16384, false), 8192);
  // "dodge" at a full rendered value is full even over black.
  EXPECT_EQ(Glue1(kDodge, 32768, 0, false), 32768);
  // "vivid a" is worked at 8-bit precision and widened back.
  for (std::int32_t r8 = 0; r8 <= 255; r8 += 15) {
    for (std::int32_t s8 = 0; s8 <= 255; s8 += 17) {
      const std::int32_t v8 = Glue1(kVividA, r8, s8);
      const std::int32_t v16 = Glue1(kVividA, r8 * 128, s8 * 128, false);
      if (v8 == 255) {
        EXPECT_EQ(v16, 32768);
      } else {
        EXPECT_EQ(v16 >> 7, v8) << r8 << " " << s8;
      }
    }
  }
  // The light half of "soft light" too: whole multiples of 128.
  for (std::int32_t r = 16384; r <= 32768; r += 2001) {
    EXPECT_EQ(Glue1(kSoftLight, r, 12345, false) % 128, 0);
  }
}

TEST(GlueModes, SixteenBitAgreesWithEightBitWithinRounding) {
  const std::int32_t modes[] = {
      kDifference, kLighten, kDarken,      kAdd,      kSubtract,    kMultiply,  kScreen,
      kHardLight,  kOverlay, kLinearLight, kPinLight, kSimilarity,  kHardDiff,  kSoftLight,
      kAce,        kKing,    kQueen,       kJack,     kMultiBright, kScreenDim, kColor,
      kLuminance,  kNorth,   kEast,        kDextrous, kParietal,    kLimbic};
  // The CIELAB-like modes interpolate the lattice at different precisions
  // and their 16-bit axes centre on 16444 rather than 16384.
  const auto tolerance = [](std::int32_t mode) {
    return mode >= kParietal && mode <= kLimbic ? 10.0 : 4.0;
  };
  for (std::int32_t mode : modes) {
    for (std::int32_t r = 3; r <= 252; r += 11) {
      for (std::int32_t s = 5; s <= 250; s += 13) {
        const Px r8{r, 255 - r, (r + s) / 2}, s8{s, s / 2, 255 - s};
        const Px out8 = Glue(mode, r8, s8);
        Px r16, s16;
        for (int c = 0; c < 3; ++c) {
          r16[c] = (r8[c] * 32768 + 127) / 255;
          s16[c] = (s8[c] * 32768 + 127) / 255;
        }
        const Px out16 = Glue(mode, r16, s16, false);
        for (int c = 0; c < 3; ++c) {
          ASSERT_NEAR(out16[c] * 255.0 / 32768.0, out8[c], tolerance(mode))
              << mode << " " << r << " " << s << " channel " << c;
        }
      }
    }
  }
}

}  // namespace
}  // namespace stellane
