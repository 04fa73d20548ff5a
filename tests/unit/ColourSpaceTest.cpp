// HSL, perceptual lightness and polar conversions over their whole ranges
// (GlueModesTest pins their values, the ratio blend's among them, by hand),
// and the CIELAB-like lattices with their tetrahedral lookup.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "glue/ColourSpace.h"
#include "glue/LabLattices.h"
#include "glue/LabLookup.h"

namespace stellane {
namespace {

void ExpectRgb(const Rgbf& got, float r, float g, float b, float tolerance) {
  EXPECT_NEAR(got.red, r, tolerance) << r << " " << g << " " << b;
  EXPECT_NEAR(got.green, g, tolerance) << r << " " << g << " " << b;
  EXPECT_NEAR(got.blue, b, tolerance) << r << " " << g << " " << b;
}

TEST(ColourSpace, HslRoundTripsAcrossTheCubeWithRedAtTheTopOfTheTurn) {
  // Pure red sits at the top of the turn, not at 0; its inverse falls back
  // into the red sector.
  EXPECT_EQ(RgbToHsl(1.0f, 0.0f, 0.0f).hue, 1.0f);
  EXPECT_NEAR(RgbToHsl(0.0f, 1.0f, 0.0f).hue, 1.0f / 3.0f, 1e-6f);
  EXPECT_NEAR(RgbToHsl(0.0f, 0.0f, 1.0f).hue, 2.0f / 3.0f, 1e-6f);
  ExpectRgb(HslToRgb(1.0f, 1.0f, 0.5f), 1.0f, 0.0f, 0.0f, 0.0f);
  for (int r = 0; r <= 10; ++r)
    for (int g = 0; g <= 10; ++g)
      for (int b = 0; b <= 10; ++b) {
        const Hsl hsl = RgbToHsl(r / 10.0f, g / 10.0f, b / 10.0f);
        EXPECT_TRUE(hsl.hue >= 0.0f && hsl.hue <= 1.0f) << hsl.hue;
        EXPECT_TRUE(hsl.saturation >= 0.0f && hsl.saturation <= 1.0f + 1e-6f) << hsl.saturation;
        ExpectRgb(HslToRgb(hsl.hue, hsl.saturation, hsl.lightness), r / 10.0f, g / 10.0f, b / 10.0f,
                  1e-5f);
      }
}

TEST(ColourSpace, PerceptualLightnessKeepsEndsAndRoundTrips) {
  // Without saturation every hue is plain grey at 0.5.
  for (float hue : {0.0f, 0.2f, 0.5f, 0.9f}) EXPECT_FLOAT_EQ(HueLuma(hue, 0.0f), 0.5f);
  // Green is brighter than blue at the same HSL lightness.
  EXPECT_GT(HueLuma(1.0f / 3.0f, 1.0f), HueLuma(2.0f / 3.0f, 1.0f));
  EXPECT_FLOAT_EQ(ToPerceptualHsl(1.0f, 1.0f, 1.0f).lightness, 1.0f);
  EXPECT_FLOAT_EQ(ToPerceptualHsl(0.0f, 0.0f, 0.0f).lightness, 0.0f);
  const float colours[][3] = {{0.9f, 0.2f, 0.1f},
                              {0.1f, 0.6f, 0.3f},
                              {0.2f, 0.3f, 0.95f},
                              {0.5f, 0.5f, 0.5f},
                              {0.05f, 0.02f, 0.03f}};
  for (const auto& c : colours) {
    const Hsl p = ToPerceptualHsl(c[0], c[1], c[2]);
    ExpectRgb(FromPerceptualHsl(p.hue, p.saturation, p.lightness), c[0], c[1], c[2], 1e-5f);
  }
  // Lightness beyond the ends is clamped to white and black.
  ExpectRgb(FromPerceptualHsl(0.3f, 0.7f, 1.5f), 1.0f, 1.0f, 1.0f, 0.0f);
  ExpectRgb(FromPerceptualHsl(0.3f, 0.7f, -0.5f), 0.0f, 0.0f, 0.0f, 0.0f);
}

TEST(ColourSpace, PolarRoundTripInEveryQuadrant) {
  constexpr float kTwoPi = 6.2831855f;
  for (int i = 0; i < 24; ++i) {
    const float angle = (i + 0.25f) * kTwoPi / 24.0f;
    const Xy p = PolarToXY(angle, 0.75f);
    const Polar back = XYToPolar(p.x, p.y);
    EXPECT_NEAR(back.angle, angle, 1e-5f) << i;
    EXPECT_NEAR(back.radius, 0.75f, 1e-6f) << i;
  }
  // The axes, where atan(x / y) is not used or degenerates.
  EXPECT_FLOAT_EQ(XYToPolar(1.0f, 0.0f).angle, 0.0f);
  EXPECT_NEAR(XYToPolar(-1.0f, 0.0f).angle, 3.14159265f, 1e-6f);
  EXPECT_NEAR(XYToPolar(0.0f, 1.0f).angle, 1.5707964f, 1e-6f);
  EXPECT_NEAR(XYToPolar(0.0f, -1.0f).angle, 4.712389f, 1e-6f);
  EXPECT_FLOAT_EQ(XYToPolar(0.0f, 0.0f).radius, 0.0f);
}

struct Point {
  int i, j, k;
  int v0, v1, v2;
};

void ExpectPoint(const std::uint8_t* lattice, const Point& p) {
  const int at = 3 * p.i + 48 * p.j + 768 * p.k;
  EXPECT_EQ(lattice[at], p.v0) << p.i << "," << p.j << "," << p.k;
  EXPECT_EQ(lattice[at + 1], p.v1) << p.i << "," << p.j << "," << p.k;
  EXPECT_EQ(lattice[at + 2], p.v2) << p.i << "," << p.j << "," << p.k;
}

TEST(ColourLattice, ForwardTellingRows) {
  const int grey[16] = {0, 17, 48, 72, 93, 112, 130, 147, 163, 177, 191, 204, 218, 230, 243, 255};
  for (int i = 0; i < 16; ++i) ExpectPoint(kLabForwardLattice, {i, i, i, grey[i], 128, 128});
  const Point colours[] = {
      {15, 0, 0, 144, 208, 208},  {0, 15, 0, 214, 51, 207},  {0, 0, 15, 104, 158, 33},
      {15, 15, 0, 243, 119, 222}, {0, 15, 15, 228, 75, 111}, {15, 0, 15, 170, 204, 77},
  };
  for (const Point& p : colours) ExpectPoint(kLabForwardLattice, p);
}

TEST(ColourLattice, InverseTellingRows) {
  ExpectPoint(kLabInverseLattice, {0, 8, 8, 15, 0, 1});
  ExpectPoint(kLabInverseLattice, {1, 8, 8, 25, 14, 8});
  ExpectPoint(kLabInverseLattice, {2, 8, 8, 35, 23, 18});
  ExpectPoint(kLabInverseLattice, {15, 8, 8, 255, 249, 237});
}

TEST(ColourLattice, InverseUndoesForwardInsideTheGamut) {
  // Away from the gamut's edges (where neighbouring inverse points are
  // clipped to 0, pulling low channels down), RGB -> lab -> RGB comes back
  // within a few steps on average and a dozen at worst; swapped axes or a
  // misplaced point would be off by dozens.
  int worst = 0;
  long total = 0;
  int count = 0;
  for (int r = 85; r <= 170; r += 5) {
    for (int g = 85; g <= 170; g += 5) {
      for (int b = 85; b <= 170; b += 5) {
        const Triple lab = LabForward(r, g, b, true);
        const Triple back = LabInverse(lab.c0, lab.c1, lab.c2, true);
        const int err =
            std::max({std::abs(back.c0 - r), std::abs(back.c1 - g), std::abs(back.c2 - b)});
        worst = std::max(worst, err);
        total += err;
        ++count;
      }
    }
  }
  EXPECT_LE(worst, 12);
  EXPECT_LE(static_cast<double>(total) / count, 3.0);
}

}  // namespace
}  // namespace stellane
