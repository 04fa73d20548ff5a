// Drawing one image into another at a different size: the level sampler,
// the scaled copy into an 8-bit picture and the display conversion of
// linear float values.
#include <algorithm>
#include <cmath>

#include "image/TiledImage.h"

namespace stellane {

namespace {

// Reads the four sampler channels of one pixel (clamped).
void SamplerPixel(const TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                  float out[4]) {
  ReadChannelsFloat(image, x, y, level, out);
  if (image.format == kFormatGrey8) {
    out[1] = out[2] = out[0];
    out[3] = 255.0f;
  }
}

// A sampling position limited to where clamped reads answer, NaN as 0, so
// that the conversion to an integer stays defined.
float LimitPosition(float v, float maxV) {
  if (!(v == v)) return 0.0f;
  return std::clamp(v, -1.0f, maxV + 1.0f);
}

}  // namespace

void SampleLevel(const TiledImage& image, float x, float y, std::int32_t level, float out[4]) {
  out[0] = out[1] = out[2] = out[3] = 0.0f;
  const std::int32_t f = image.format;
  if (!HasPixels(image) || !(f == 0 || f == 3 || f == 4 || f == 9)) return;
  level = std::clamp(level, 0, image.lastLevel);
  const ImageLevel& lv = image.levels[level];
  x = LimitPosition(x, lv.maxXf);
  y = LimitPosition(y, lv.maxYf);
  const float fx0 = std::floor(x), fy0 = std::floor(y);
  const float fx = x - fx0, fy = y - fy0;
  const std::int32_t x0 = std::int32_t(fx0), y0 = std::int32_t(fy0);
  float p00[4], p10[4], p01[4], p11[4];
  SamplerPixel(image, x0, y0, level, p00);
  SamplerPixel(image, x0 + 1, y0, level, p10);
  SamplerPixel(image, x0, y0 + 1, level, p01);
  SamplerPixel(image, x0 + 1, y0 + 1, level, p11);
  for (int c = 0; c < 4; ++c) {
    const float top = p00[c] + (p10[c] - p00[c]) * fx;
    const float bottom = p01[c] + (p11[c] - p01[c]) * fx;
    out[c] = top + (bottom - top) * fy;
  }
}

void CopyScaled(TiledImage& source, TiledImage& dest, const ImageRect& sourceRect,
                const ImageRect& destRect, float levelBias) {
  if (!HasPixels(source)) return;
  if (source.pyramidState != kPyramidBuilt) RebuildPyramid(source);
  const std::int32_t destWidth = destRect.right - destRect.left;
  const std::int32_t destHeight = destRect.bottom - destRect.top;
  const std::int32_t sourceWidth = sourceRect.right - sourceRect.left;
  const std::int32_t sourceHeight = sourceRect.bottom - sourceRect.top;
  if (destWidth <= 0 || destHeight <= 0) return;
  // An empty source rectangle has no size ratio to scale by.
  if (sourceWidth <= 0 || sourceHeight <= 0) return;
  if (!HasPixels(dest) || dest.format != 3) return;

  // Level and blend fraction from the width ratio.
  float d = std::log2(float(sourceWidth) / float(destWidth)) - levelBias;
  if (!(d > 0.0f)) d = 0.0f;
  d = std::min(d, float(source.lastLevel));
  const std::int32_t level = std::int32_t(d);
  const float fraction = level < source.lastLevel ? d - float(level) : 0.0f;

  // Positions in level-0 pixels, then scaled to each level; u x level width
  // computed as position x (level width / level-0 width) so that whole-ratio
  // copies land exactly on pixel centres.
  const ImageLevel& full = source.levels[0];
  const ImageLevel& lvA = source.levels[level];
  const ImageLevel& lvB = source.levels[std::min(level + 1, source.lastLevel)];
  const float scaleAX = lvA.widthF / full.widthF, scaleAY = lvA.heightF / full.heightF;
  const float scaleBX = lvB.widthF / full.widthF, scaleBY = lvB.heightF / full.heightF;
  const float stepX = float(sourceWidth) / float(destWidth);
  const float stepY = float(sourceHeight) / float(destHeight);
  const float toByte = source.invMaxValue * 255.0f;

  // Only destination pixels inside the destination image are visited.
  const ImageLevel& out = dest.levels[0];
  const std::int32_t yBegin = std::max(destRect.top, 0);
  const std::int32_t yEnd = std::min(destRect.bottom, out.height);
  const std::int32_t xBegin = std::max(destRect.left, 0);
  const std::int32_t xEnd = std::min(destRect.right, out.width);
  for (std::int32_t dy = yBegin; dy < yEnd; ++dy) {
    const float v = float(sourceRect.top) + (float(dy - destRect.top) + 0.5f) * stepY;
    for (std::int32_t dx = xBegin; dx < xEnd; ++dx) {
      const float u = float(sourceRect.left) + (float(dx - destRect.left) + 0.5f) * stepX;
      float a[4];
      SampleLevel(source, u * scaleAX - 0.5f, v * scaleAY - 0.5f, level, a);
      if (fraction != 0.0f) {
        float b[4];
        SampleLevel(source, u * scaleBX - 0.5f, v * scaleBY - 0.5f, level + 1, b);
        for (int c = 0; c < 4; ++c) a[c] = a[c] + (b[c] - a[c]) * fraction;
      }
      std::uint32_t bytes[3];
      for (int c = 0; c < 3; ++c) {
        const float scaled = a[c] * toByte;
        bytes[c] = scaled > 0.0f ? std::uint32_t(std::min(scaled, 255.0f)) : 0u;
      }
      WritePacked(dest, dx, dy, 0, PackChannels(bytes[0], bytes[1], bytes[2], 255));
    }
  }
  RebuildPyramid(dest);
}

std::uint8_t LinearToDisplayByte(float value) {
  if (!(value > 0.0f)) return 0;  // negatives and NaN
  const float clamped = std::min(value, 65535.0f);
  const float scaled = std::sqrt(clamped) * 255.0f;
  return std::uint8_t(std::min(scaled, 255.0f));
}

}  // namespace stellane
