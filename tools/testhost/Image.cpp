#include "testhost/Image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace testhost {

Image Image::Make(int width, int height, int colorPlanes, int depth, bool transparency) {
  if (width < 0 || height < 0 || (colorPlanes != 1 && colorPlanes != 3) ||
      (depth != 8 && depth != 16 && depth != 32))
    throw std::invalid_argument("unsupported image shape");
  Image image;
  image.width = width;
  image.height = height;
  image.colorPlanes = colorPlanes;
  image.transparency = transparency;
  image.depth = depth;
  image.data.assign(image.RowBytes() * std::size_t(height), 0);
  return image;
}

std::uint8_t* Image::SamplePtr(int x, int y, int plane) {
  return data.data() + std::size_t(y) * RowBytes() + std::size_t(x) * PixelBytes() +
         std::size_t(plane) * BytesPerSample();
}

const std::uint8_t* Image::SamplePtr(int x, int y, int plane) const {
  return const_cast<Image*>(this)->SamplePtr(x, y, plane);
}

double Image::MaxValue() const { return depth == 8 ? 255.0 : depth == 16 ? 32768.0 : 1.0; }

double Image::Get(int x, int y, int plane) const {
  const std::uint8_t* p = SamplePtr(x, y, plane);
  switch (depth) {
    case 8:
      return *p;
    case 16: {
      std::uint16_t v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
    default: {
      float v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
  }
}

void Image::Set(int x, int y, int plane, double value) {
  std::uint8_t* p = SamplePtr(x, y, plane);
  if (depth == 32) {
    const float v = float(value);
    std::memcpy(p, &v, sizeof v);
    return;
  }
  const double clamped = ClampSample(std::round(value), MaxValue());
  if (depth == 8) {
    *p = std::uint8_t(clamped);
  } else {
    const std::uint16_t v = std::uint16_t(clamped);
    std::memcpy(p, &v, sizeof v);
  }
}

double ClampSample(double value, double maximum) {
  return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, maximum);
}

Selection Selection::Filled(int width, int height, std::uint8_t value) {
  Selection s;
  s.width = width;
  s.height = height;
  s.coverage.assign(std::size_t(width) * std::size_t(height), value);
  return s;
}

}  // namespace testhost
