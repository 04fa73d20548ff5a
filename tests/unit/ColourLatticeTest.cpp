// The CIELAB-like lattices and their tetrahedral lookup.
#include <gtest/gtest.h>

#include <cstdlib>

#include "glue/LabLattices.h"
#include "glue/LabLookup.h"

namespace stellane {
namespace {

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
