// Pyramid rebuild: each level from the one below with a 6 x 6 kernel.
//
// Pixel (x, y) of level L + 1 is the weighted sum of the pixels
// (2x + i, 2y + j) of level L, i and j from -2 to +3, read clamped into the
// level. The weights, in whole numbers (they add up to 1640):
//   0  1   4   4  1 0
//   1 16  64  64 16 1
//   4 64 256 256 64 4
//   4 64 256 256 64 4
//   1 16  64  64 16 1
//   0  1   4   4  1 0
// Normalisation by storage:
//   8-bit (0, 3):        sum / 1630, truncated, at most 255 (a shade
//                        brighter than unity on purpose);
//   16-bit (1, 4):       sum / 1640, truncated, at most 65535;
//   fixed point (2, 7):  sum / 1640 rounded to nearest, so that repeated
//                        halving neither darkens nor brightens;
//   float (5, 9):        sum / 1640 in float, unclamped (values above 1.0
//                        are light that a later stage may still use).
//
// Source rows are unpacked into a ring of six rows, each padded with the
// edge pixel by two pixels on the left and five on the right (evening up an
// odd half size lets the last output pixel reach two pixels further than
// 2x + 3 of the last input pixel), so that the kernel loop needs no
// clamping.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "image/TiledImage.h"
#include "image/TiledImagePixels.h"

namespace stellane {

namespace {

constexpr int kTaps = 6;
constexpr int kPadLeft = 2;
constexpr int kPadRight = 5;

constexpr std::int32_t kWeights[kTaps][kTaps] = {
    {0, 1, 4, 4, 1, 0},       {1, 16, 64, 64, 16, 1}, {4, 64, 256, 256, 64, 4},
    {4, 64, 256, 256, 64, 4}, {1, 16, 64, 64, 16, 1}, {0, 1, 4, 4, 1, 0},
};

// Unpacks row `y` of `level` into `row` (padded, `channels` values a pixel).
template <typename T>
void UnpackRow(const TiledImage& image, std::int32_t level, std::int32_t y, T* row) {
  const ImageLevel& lv = image.levels[level];
  const int channels = image.channels;
  T* dst = row + kPadLeft * channels;
  for (std::int32_t x = 0; x < lv.width; ++x) {
    const std::uint8_t* p = pixels::Address(image, x, y, level);
    if constexpr (std::is_floating_point_v<T>) {
      float v[4];
      pixels::LoadFloats(image.format, p, v);
      for (int c = 0; c < channels; ++c) dst[x * channels + c] = v[c];
    } else {
      std::int32_t v[4];
      pixels::LoadInts(image.format, p, v);
      for (int c = 0; c < channels; ++c) dst[x * channels + c] = v[c];
    }
  }
  for (int i = 0; i < kPadLeft; ++i) {
    for (int c = 0; c < channels; ++c) row[i * channels + c] = dst[c];
  }
  T* last = dst + (lv.width - 1) * channels;
  for (int i = 1; i <= kPadRight; ++i) {
    for (int c = 0; c < channels; ++c) last[i * channels + c] = last[c];
  }
}

// Kernel sum at output column x over the six rows `rows[0..5]` (rows
// 2y - 2 .. 2y + 3), one channel.
template <typename T>
T KernelSum(T* const rows[kTaps], std::int32_t x, int channels, int c) {
  T sum = 0;
  for (int j = 0; j < kTaps; ++j) {
    const T* r = rows[j] + (2 * x) * channels + c;  // tap i = -2 sits at 2x
    for (int i = 0; i < kTaps; ++i) sum += T(kWeights[j][i]) * r[i * channels];
  }
  return sum;
}

std::int32_t NormaliseInt(std::int32_t format, std::int32_t sum) {
  switch (format) {
    case 0:
    case 3:
      return std::min(sum / 1630, 255);
    case 2:
    case 7:
      return std::min((sum + 820) / 1640, 65535);
    default:
      return std::clamp(sum / 1640, 0, 65535);
  }
}

template <typename T>
void BuildLevel(TiledImage& image, std::int32_t level, T* ringStorage, std::int32_t rowValues) {
  const ImageLevel& src = image.levels[level];
  const ImageLevel& dst = image.levels[level + 1];
  const int channels = image.channels;
  const bool isFloat = pixels::IsFloatFormat(image.format);
  T* ring[kTaps];
  for (int j = 0; j < kTaps; ++j) ring[j] = ringStorage + std::size_t(j) * rowValues;

  // Ring slot of source row r (r >= -2): six consecutive rows use six slots.
  auto slot = [&](std::int32_t r) { return ring[(r + kPadLeft) % kTaps]; };
  auto load = [&](std::int32_t r) { UnpackRow(image, level, std::clamp(r, 0, src.maxY), slot(r)); };

  for (std::int32_t y = 0; y < dst.height; ++y) {
    const std::int32_t first = 2 * y - 2;
    if (y == 0) {
      for (int j = 0; j < kTaps; ++j) load(first + j);
    } else {
      load(first + 4);
      load(first + 5);
    }
    T* rows[kTaps];
    for (int j = 0; j < kTaps; ++j) rows[j] = slot(first + j);
    for (std::int32_t x = 0; x < dst.width; ++x) {
      std::uint8_t* p = pixels::Address(image, x, y, level + 1);
      if (isFloat) {
        float v[4] = {0, 0, 0, 0};
        for (int c = 0; c < channels; ++c) {
          v[c] = float(KernelSum(rows, x, channels, c)) / 1640.0f;
        }
        pixels::StoreFloats(image.format, p, v);
      } else {
        std::int32_t v[4] = {0, 0, 0, 0};
        for (int c = 0; c < channels; ++c) {
          v[c] = NormaliseInt(image.format, std::int32_t(KernelSum(rows, x, channels, c)));
        }
        pixels::StoreInts(image.format, p, v);
      }
    }
  }
}

}  // namespace

bool RebuildPyramid(TiledImage& image, std::int32_t fromLevel) {
  if (!HasPixels(image) || fromLevel < 0) return false;
  if (fromLevel >= image.lastLevel) return true;

  // The widest source level sets the ring's size; 4-byte values either way.
  const std::int32_t rowValues =
      (image.levels[fromLevel].width + kPadLeft + kPadRight) * image.channels;
  const std::int64_t bytes = std::int64_t(rowValues) * kTaps * 4;
  if (bytes > INT32_MAX) return false;
  WorkBuffer ring;
  if (!AllocateWorkBuffer(image.host, std::int32_t(bytes), ring)) return false;

  const bool isFloat = pixels::IsFloatFormat(image.format);
  for (std::int32_t level = fromLevel; level < image.lastLevel; ++level) {
    if (isFloat) {
      BuildLevel(image, level, static_cast<float*>(ring.data), rowValues);
    } else {
      BuildLevel(image, level, static_cast<std::int32_t*>(ring.data), rowValues);
    }
  }
  ReleaseWorkBuffer(image.host, ring);
  if (fromLevel == 0) image.pyramidState = kPyramidBuilt;
  return true;
}

}  // namespace stellane
