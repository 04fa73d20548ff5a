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
// Evaluation. Every weight is a(i) x a(j) / 16 with a = 1 16 64 64 16 1,
// except the four corners, where that product is 1 / 16 and the weight 0. So
//   16 x sum = sum over j of a(j) x H(j) - (the four corner pixels),
// with H(j) = sum over i of a(i) x p(2x + i, 2y + j), exactly in integers.
// Each source row is reduced once to its H row and its corner pair
// p(2x - 2) + p(2x + 3); a ring of six such rows feeds the output rows.
// Float formats use the same evaluation in float.
//
// Source rows are unpacked with the edge pixel repeated two places to the
// left and five to the right (evening up an odd half size lets the last
// output pixel reach two pixels beyond 2x + 3 of the last input pixel), so
// the loops need no clamping.
#include <algorithm>
#include <type_traits>

#include "image/TiledImage.h"
#include "image/TiledImagePixels.h"

namespace stellane {

namespace {

constexpr int kTaps = 6;
constexpr int kPadLeft = 2;
constexpr int kPadRight = 5;
constexpr std::int32_t kA[kTaps] = {1, 16, 64, 64, 16, 1};

// Unpacks row `y` of `level` into `row` (padded, `channels` values a pixel),
// tile by tile.
template <typename T, int C>
void UnpackRow(const TiledImage& image, std::int32_t level, std::int32_t y, T* row) {
  const ImageLevel& lv = image.levels[level];
  const std::int32_t format = image.format;
  const std::size_t step = std::size_t(image.bytesPerPixel);
  T* dst = row + kPadLeft * C;
  for (std::int32_t left = 0; left < lv.width; left += kTileSide) {
    const std::int32_t count = std::min(kTileSide, lv.width - left);
    const std::uint8_t* p = pixels::Address(image, left, y, level);
    T* out = dst + left * C;
    for (std::int32_t x = 0; x < count; ++x, p += step, out += C) {
      if constexpr (std::is_floating_point_v<T>) {
        float v[4];
        pixels::LoadFloats(format, p, v);
        for (int c = 0; c < C; ++c) out[c] = v[c];
      } else {
        std::int32_t v[4];
        pixels::LoadInts(format, p, v);
        for (int c = 0; c < C; ++c) out[c] = v[c];
      }
    }
  }
  for (int i = 0; i < kPadLeft; ++i) {
    for (int c = 0; c < C; ++c) row[i * C + c] = dst[c];
  }
  T* last = dst + (lv.width - 1) * C;
  for (int i = 1; i <= kPadRight; ++i) {
    for (int c = 0; c < C; ++c) last[i * C + c] = last[c];
  }
}

// The horizontal pass over one unpacked row: h = sum of a(i) x p(2x + i) and
// e = p(2x - 2) + p(2x + 3), for `width` output pixels.
template <typename T, int C>
void ReduceRow(const T* row, std::int32_t width, T* h, T* e) {
  for (std::int32_t x = 0; x < width; ++x) {
    const T* p = row + 2 * x * C;  // tap i = -2
    for (int c = 0; c < C; ++c) {
      T sum = 0;
      for (int i = 0; i < kTaps; ++i) sum += T(kA[i]) * p[i * C + c];
      h[x * C + c] = sum;
      e[x * C + c] = p[c] + p[5 * C + c];
    }
  }
}

std::int32_t NormaliseInt(std::int32_t format, std::int32_t sum) {
  switch (format) {
    case kFormatGrey8:
    case kFormatPacked8:
      return std::min(sum / 1630, 255);
    case kFormatGreyFixed16:
    case kFormatRgbFixed16:
      return std::min((sum + 820) / 1640, 65535);
    default:
      return std::clamp(sum / 1640, 0, 65535);
  }
}

struct RowScratch {
  void* unpacked;  // one padded source row
  void* reduced;   // six h rows, then six e rows
  std::int32_t reducedValues;
};

template <typename T, int C>
void BuildLevel(TiledImage& image, std::int32_t level, const RowScratch& scratch) {
  const ImageLevel& src = image.levels[level];
  const ImageLevel& dst = image.levels[level + 1];
  T* unpacked = static_cast<T*>(scratch.unpacked);
  T* h[kTaps];
  T* e[kTaps];
  for (int j = 0; j < kTaps; ++j) {
    h[j] = static_cast<T*>(scratch.reduced) + std::size_t(j) * scratch.reducedValues;
    e[j] = h[j] + std::size_t(kTaps) * scratch.reducedValues;
  }

  // Ring slot of source row r (r >= -2): six consecutive rows, six slots.
  auto slot = [](std::int32_t r) { return (r + kPadLeft) % kTaps; };
  auto load = [&](std::int32_t r) {
    UnpackRow<T, C>(image, level, std::clamp(r, 0, src.maxY), unpacked);
    ReduceRow<T, C>(unpacked, dst.width, h[slot(r)], e[slot(r)]);
  };

  for (std::int32_t y = 0; y < dst.height; ++y) {
    const std::int32_t first = 2 * y - 2;
    if (y == 0) {
      for (int j = 0; j < kTaps; ++j) load(first + j);
    } else {
      load(first + 4);
      load(first + 5);
    }
    const T* rows[kTaps];
    for (int j = 0; j < kTaps; ++j) rows[j] = h[slot(first + j)];
    const T* top = e[slot(first)];
    const T* bottom = e[slot(first + 5)];
    for (std::int32_t x = 0; x < dst.width; ++x) {
      std::uint8_t* p = pixels::Address(image, x, y, level + 1);
      T sum[4] = {0, 0, 0, 0};
      for (int c = 0; c < C; ++c) {
        const std::int32_t k = x * C + c;
        T s = 0;
        for (int j = 0; j < kTaps; ++j) s += T(kA[j]) * rows[j][k];
        sum[c] = s - top[k] - bottom[k];
      }
      if constexpr (std::is_floating_point_v<T>) {
        float v[4] = {0, 0, 0, 0};
        for (int c = 0; c < C; ++c) v[c] = sum[c] / 26240.0f;  // 16 x 1640
        pixels::StoreFloats(image.format, p, v);
      } else {
        std::int32_t v[4] = {0, 0, 0, 0};
        for (int c = 0; c < C; ++c) v[c] = NormaliseInt(image.format, sum[c] / 16);
        pixels::StoreInts(image.format, p, v);
      }
    }
  }
}

template <typename T>
void BuildLevelFor(TiledImage& image, std::int32_t level, const RowScratch& scratch) {
  switch (image.channels) {
    case 1:
      BuildLevel<T, 1>(image, level, scratch);
      break;
    case 3:
      BuildLevel<T, 3>(image, level, scratch);
      break;
    default:
      BuildLevel<T, 4>(image, level, scratch);
      break;
  }
}

}  // namespace

bool RebuildPyramid(TiledImage& image, std::int32_t fromLevel) {
  if (!HasPixels(image) || fromLevel < 0) return false;
  if (fromLevel >= image.lastLevel) return true;

  // Sized for the widest level the rebuild reads; 4-byte values either way.
  const std::int64_t channels = image.channels;
  const std::int64_t unpackedValues =
      (std::int64_t(image.levels[fromLevel].width) + kPadLeft + kPadRight) * channels;
  const std::int64_t reducedValues = std::int64_t(image.levels[fromLevel + 1].width) * channels;
  const std::int64_t bytes = (unpackedValues + 2 * kTaps * reducedValues) * 4;
  if (bytes > INT32_MAX) return false;
  MemoryBlock block;
  if (!AllocateBlock(image.blocks, std::int32_t(bytes), block)) return false;
  RowScratch scratch;
  scratch.unpacked = block.data;
  scratch.reduced = static_cast<std::uint8_t*>(block.data) + unpackedValues * 4;
  scratch.reducedValues = std::int32_t(reducedValues);

  const bool isFloat = pixels::IsFloatFormat(image.format);
  for (std::int32_t level = fromLevel; level < image.lastLevel; ++level) {
    if (isFloat) {
      BuildLevelFor<float>(image, level, scratch);
    } else {
      BuildLevelFor<std::int32_t>(image, level, scratch);
    }
  }
  ReleaseBlock(image.blocks, block);
  if (fromLevel == 0) image.pyramidState = kPyramidBuilt;
  return true;
}

}  // namespace stellane
