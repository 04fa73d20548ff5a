#include "stellane/DemoPicture.h"

#include <algorithm>
#include <cmath>

namespace cli {

testhost::Image DemoPicture() {
  testhost::Image image = testhost::Image::Make(kDemoWidth, kDemoHeight, 3, 8);
  for (int x = 0; x < kDemoWidth; ++x) {
    const double s = double(x) / (kDemoWidth - 1);
    // Two ridges of summed sines; the nearer one is darker and higher.
    const double far = 0.70 + 0.05 * std::sin(9.0 * s + 1.0) + 0.03 * std::sin(23.0 * s);
    const double near = 0.80 + 0.06 * std::sin(5.0 * s + 2.5) + 0.02 * std::sin(31.0 * s + 0.7);
    for (int y = 0; y < kDemoHeight; ++y) {
      const double t = double(y) / (kDemoHeight - 1);
      // Night blue at the top, a warm glow at the horizon.
      double r = 8 + 150 * std::pow(t, 3.0), g = 12 + 70 * std::pow(t, 2.5),
             b = 40 + 60 * t - 30 * std::pow(t, 4.0);
      if (t > near) {
        r = 10, g = 8, b = 14;
      } else if (t > far) {
        r = 28, g = 22, b = 38;
      }
      image.Set(x, y, 0, std::clamp(r, 0.0, 255.0));
      image.Set(x, y, 1, std::clamp(g, 0.0, 255.0));
      image.Set(x, y, 2, std::clamp(b, 0.0, 255.0));
    }
  }
  return image;
}

}  // namespace cli
