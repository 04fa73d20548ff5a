// Small pictures for the end-to-end tests, and how two pictures differ.
#pragma once

#include <string>

#include "testhost/Image.h"

namespace clitest {

// An odd-sized picture whose planes all differ and whose rows and columns
// are not symmetric, so swapped channels or flipped rows show.
testhost::Image Lopsided(int width, int height, int colorPlanes, int depth, bool alpha);

// Number of pixels whose samples differ in any plane (both images of one shape).
int DifferingPixels(const testhost::Image& a, const testhost::Image& b);
// The same inside / outside a rectangle [left, right) x [top, bottom).
int DifferingPixelsIn(const testhost::Image& a, const testhost::Image& b, int left, int top,
                      int right, int bottom, bool inside);
// Number of pixels whose plane `plane` differs.
int DifferingInPlane(const testhost::Image& a, const testhost::Image& b, int plane);

}  // namespace clitest
