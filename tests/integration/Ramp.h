// A lopsided picture for whole runs: every sample differs from its
// neighbours in x, y and plane, so a swapped plane, a flipped row or an
// off-by-one column shows.
#pragma once

#include "testhost/Image.h"

namespace testing_pictures {

// Sample value of channel c at (x, y), out of 255.
inline int RampValue(int x, int y, int c) { return (x * 7 + y * 13 + c * 61) % 256; }

inline testhost::Image Ramp(int width, int height, int planes = 3, int depth = 8) {
  testhost::Image image = testhost::Image::Make(width, height, planes, depth);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < planes; ++c)
        image.Set(x, y, c, RampValue(x, y, c) * image.MaxValue() / 255.0);
  return image;
}

}  // namespace testing_pictures
