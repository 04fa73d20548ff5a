#include "TestPictures.h"

namespace clitest {

testhost::Image Lopsided(int width, int height, int colorPlanes, int depth, bool alpha) {
  testhost::Image image = testhost::Image::Make(width, height, colorPlanes, depth, alpha);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int p = 0; p < image.Planes(); ++p) {
        const double v = ((x * 53 + y * y * 31 + p * 97) % 251) / 250.0;
        image.Set(x, y, p, v * image.MaxValue());
      }
  return image;
}

int DifferingPixelsIn(const testhost::Image& a, const testhost::Image& b, int left, int top,
                      int right, int bottom, bool inside) {
  int count = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) {
      const bool in = x >= left && x < right && y >= top && y < bottom;
      if (in != inside) continue;
      for (int p = 0; p < a.Planes(); ++p)
        if (a.Get(x, y, p) != b.Get(x, y, p)) {
          ++count;
          break;
        }
    }
  return count;
}

int DifferingPixels(const testhost::Image& a, const testhost::Image& b) {
  return DifferingPixelsIn(a, b, 0, 0, a.width, a.height, true);
}

int DifferingInPlane(const testhost::Image& a, const testhost::Image& b, int plane) {
  int count = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) count += a.Get(x, y, plane) != b.Get(x, y, plane);
  return count;
}

}  // namespace clitest
