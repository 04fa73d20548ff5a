// Carrying pixels that the host delivered into a tiled image.
#include <algorithm>

#include "image/TiledImage.h"
#include "image/TiledImagePixels.h"

namespace stellane {

namespace {

// One sample of the area as a fraction of full intensity.
float AreaSample(const HostPixelArea& area, const std::uint8_t* pixel, std::int32_t plane) {
  switch (area.bytesPerChannel) {
    case 1:
      return float(pixel[plane]) * (1.0f / 255.0f);
    case 2:
      return float(pixels::Load<std::uint16_t>(pixel + 2 * plane)) * (1.0f / 32768.0f);
    default:
      return pixels::Load<float>(pixel + 4 * plane);
  }
}

// Copies area rows from `top` on, columns from `left` on (reads clamped into
// the area), into level 0 rows destTop .. destTop + rows - 1.
void CopyRows(const HostPixelArea& area, std::int32_t left, std::int32_t top, std::int32_t destTop,
              std::int32_t rows, TiledImage& image) {
  if (!HasPixels(image) || !area.data || area.width < 1 || area.height < 1) return;
  if (area.planes < 1 || area.planes > 4) return;
  if (area.bytesPerChannel != 1 && area.bytesPerChannel != 2 && area.bytesPerChannel != 4) {
    return;
  }
  const auto* base = static_cast<const std::uint8_t*>(area.data);
  const std::int32_t pixelBytes = area.planes * area.bytesPerChannel;
  const ImageLevel& lv = image.levels[0];
  const std::int32_t yBegin = std::max(0, -destTop);
  const std::int32_t yEnd = std::min(rows, lv.height - destTop);
  for (std::int32_t y = yBegin; y < yEnd; ++y) {
    const std::int32_t sy = std::clamp(top + y, 0, area.height - 1);
    const std::uint8_t* row = base + std::ptrdiff_t(sy) * area.rowBytes;
    for (std::int32_t x = 0; x < lv.width; ++x) {
      const std::int32_t sx = std::clamp(left + x, 0, area.width - 1);
      const std::uint8_t* pixel = row + std::ptrdiff_t(sx) * pixelBytes;
      float n[4];
      if (area.planes <= 2) {
        n[0] = n[1] = n[2] = AreaSample(area, pixel, 0);
        n[3] = area.planes == 2 ? AreaSample(area, pixel, 1) : 1.0f;
      } else {
        for (int c = 0; c < 3; ++c) n[c] = AreaSample(area, pixel, c);
        n[3] = area.planes == 4 ? AreaSample(area, pixel, 3) : 1.0f;
      }
      // A grey image takes the luma of colour pixels.
      if (image.channels == 1 && area.planes >= 3) {
        n[0] = (77.0f * n[0] + 150.0f * n[1] + 28.0f * n[2]) * (1.0f / 255.0f);
      }
      for (float& v : n) v *= image.maxValue;
      WriteChannelsFloat(image, x, destTop + y, 0, n);
    }
  }
}

}  // namespace

void CopyHostPixels(const HostPixelArea& area, std::int32_t left, std::int32_t top,
                    TiledImage& image) {
  CopyRows(area, left, top, 0, image.levels[0].height, image);
}

void PlaceHostPixels(const HostPixelArea& area, std::int32_t destTop, TiledImage& image) {
  CopyRows(area, 0, 0, destTop, area.height, image);
}

}  // namespace stellane
