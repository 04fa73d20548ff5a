// The constants in which the 8-bit and the 16-bit glue formulas differ, and
// the two blend blocks that several modes nest.
#pragma once

#include <algorithm>
#include <cstdint>

namespace stellane {

struct ChannelScale {
  std::int32_t max;   // full channel value: 255, or 32768 (the host's 16-bit range)
  std::int32_t unit;  // the 8-bit formulas' 256 (32768 too in 16 bits)
  std::int32_t half;  // threshold between the dark and the light half
  int shiftUnit;      // divides by `unit`: >> 8 or >> 15
  int shiftHalf;      // divides by `half`: >> 7 or >> 14
  float maxf;
  float reciprocal;  // 1 / max, for normalising into 0..1
  bool eightBit;
};

inline constexpr ChannelScale kScale8{255, 256, 128, 8, 7, 255.0f, 1.0f / 255.0f, true};
inline constexpr ChannelScale kScale16{32768, 32768,    16384,           15,
                                       14,    32768.0f, 1.0f / 32768.0f, false};

// Hard light of t over b.
inline std::int32_t HardLight(std::int32_t t, std::int32_t b, const ChannelScale& k) {
  if (t < k.half) return (t * b) >> k.shiftHalf;
  return k.max - (((k.max - t) * (k.max - b)) >> k.shiftHalf);
}

// Pin light of t over b.
inline std::int32_t PinLight(std::int32_t t, std::int32_t b, const ChannelScale& k) {
  if (t < k.half) return std::min(b, 2 * t);
  return std::max(b, 2 * t - k.max);
}

// Weighted sum 77 R + 150 G + 28 B; the weights add up to 255.
inline std::int32_t LumaSum(const std::int32_t* p) { return 77 * p[0] + 150 * p[1] + 28 * p[2]; }

}  // namespace stellane
