// HSL over the whole cube (GlueModesTest pins the colour modes' values, the
// perceptual and polar ones among them, by hand) and telling points of the
// CIELAB-like lattices.
#include <gtest/gtest.h>

#include "glue/ColourSpace.h"
#include "glue/LabLattices.h"

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

TEST(ColourLattice, TellingRowsBothWays) {
  const int grey[16] = {0, 17, 48, 72, 93, 112, 130, 147, 163, 177, 191, 204, 218, 230, 243, 255};
  for (int i = 0; i < 16; ++i) ExpectPoint(kLabForwardLattice, {i, i, i, grey[i], 128, 128});
  const Point colours[] = {
      {15, 0, 0, 144, 208, 208},  {0, 15, 0, 214, 51, 207},  {0, 0, 15, 104, 158, 33},
      {15, 15, 0, 243, 119, 222}, {0, 15, 15, 228, 75, 111}, {15, 0, 15, 170, 204, 77},
  };
  for (const Point& p : colours) ExpectPoint(kLabForwardLattice, p);
  ExpectPoint(kLabInverseLattice, {0, 8, 8, 15, 0, 1});
  ExpectPoint(kLabInverseLattice, {1, 8, 8, 25, 14, 8});
  ExpectPoint(kLabInverseLattice, {2, 8, 8, 35, 23, 18});
  ExpectPoint(kLabInverseLattice, {15, 8, 8, 255, 249, 237});
}

}  // namespace
}  // namespace stellane
