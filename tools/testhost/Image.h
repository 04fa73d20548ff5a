// An in-memory picture as an image editor holds it: grey or RGB, 8-bit,
// 16-bit (0..32768, the host convention) or 32-bit float samples, with an
// optional transparency plane after the colour planes. Samples are
// interleaved, rows top to bottom, no row padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace testhost {

struct Image {
  int width = 0;
  int height = 0;
  int colorPlanes = 1;  // 1 grey, 3 RGB
  bool transparency = false;
  int depth = 8;  // bits per sample: 8, 16 or 32 (float)
  std::vector<std::uint8_t> data;

  // A zero-filled image. Throws std::invalid_argument on an unsupported shape.
  static Image Make(int width, int height, int colorPlanes, int depth, bool transparency = false);

  int Planes() const { return colorPlanes + (transparency ? 1 : 0); }
  int BytesPerSample() const { return depth / 8; }
  std::size_t PixelBytes() const { return std::size_t(Planes()) * BytesPerSample(); }
  std::size_t RowBytes() const { return std::size_t(width) * PixelBytes(); }
  std::uint8_t* SamplePtr(int x, int y, int plane);
  const std::uint8_t* SamplePtr(int x, int y, int plane) const;

  // A sample in its own range: 0..255, 0..32768, or the float itself.
  double Get(int x, int y, int plane) const;
  // Stores `value`, rounded and clamped to the sample range for integers.
  void Set(int x, int y, int plane, double value);
  // The largest sample value: 255, 32768 or 1.0.
  double MaxValue() const;
};

// `value` limited to 0..maximum for a conversion to an integer sample: NaN
// counts as 0 (nothing), infinities as the nearer end.
double ClampSample(double value, double maximum);

// A selection mask for an image: one byte per pixel, 255 fully selected,
// 0 outside the selection. Empty means "no selection".
struct Selection {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;

  bool Empty() const { return coverage.empty(); }
  static Selection Filled(int width, int height, std::uint8_t value);
};

}  // namespace testhost
