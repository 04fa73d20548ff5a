// HSL, perceptual lightness and polar conversions over their whole ranges
// (GlueModesTest pins their values, the ratio blend's among them, by hand).
#include <gtest/gtest.h>

#include <cmath>

#include "glue/ColourSpace.h"

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

}  // namespace
}  // namespace stellane
