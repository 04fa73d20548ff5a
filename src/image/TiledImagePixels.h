// Unchecked pixel addressing and per-format load/store, shared by the files
// of the tiled image. Callers have already clamped or checked (x, y, level).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "image/TiledImage.h"

namespace stellane::pixels {

inline std::uint8_t* Address(const TiledImage& image, std::int32_t x, std::int32_t y,
                             std::int32_t level) {
  const ImageLevel& lv = image.levels[level];
  const ImageTile& tile =
      image.tiles[lv.firstTile + (y / kTileSide) * lv.tileColumns + x / kTileSide];
  const std::size_t offset =
      std::size_t(y % kTileSide) * std::size_t(tile.width) + std::size_t(x % kTileSide);
  return tile.pixels + offset * std::size_t(image.bytesPerPixel);
}

template <typename T>
inline T Load(const std::uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <typename T>
inline void Store(std::uint8_t* p, T v) {
  std::memcpy(p, &v, sizeof v);
}

inline bool IsFloatFormat(std::int32_t format) {
  return format == kFormatGreyFloat || format == kFormatRgbaFloat;
}

// Raw values of one pixel: integers as stored, floats as stored.
inline void LoadInts(std::int32_t format, const std::uint8_t* p, std::int32_t out[4]) {
  out[0] = out[1] = out[2] = out[3] = 0;
  switch (format) {
    case kFormatGrey8:
      out[0] = p[0];
      break;
    case kFormatGrey16:
    case kFormatGreyFixed16:
      out[0] = Load<std::uint16_t>(p);
      break;
    case kFormatPacked8: {
      const std::uint32_t w = Load<std::uint32_t>(p);
      for (int c = 0; c < 4; ++c) out[c] = std::int32_t(PackedChannel(w, c));
      break;
    }
    case kFormatRgba16:
      for (int c = 0; c < 4; ++c) out[c] = Load<std::uint16_t>(p + 2 * c);
      break;
    case kFormatRgbFixed16:
      for (int c = 0; c < 3; ++c) out[c] = Load<std::uint16_t>(p + 2 * c);
      break;
    default:
      break;
  }
}

inline void StoreInts(std::int32_t format, std::uint8_t* p, const std::int32_t in[4]) {
  switch (format) {
    case kFormatGrey8:
      p[0] = std::uint8_t(in[0]);
      break;
    case kFormatGrey16:
    case kFormatGreyFixed16:
      Store<std::uint16_t>(p, std::uint16_t(in[0]));
      break;
    case kFormatPacked8:
      Store<std::uint32_t>(p, PackChannels(std::uint32_t(in[0]), std::uint32_t(in[1]),
                                           std::uint32_t(in[2]), std::uint32_t(in[3])));
      break;
    case kFormatRgba16:
      for (int c = 0; c < 4; ++c) Store<std::uint16_t>(p + 2 * c, std::uint16_t(in[c]));
      break;
    case kFormatRgbFixed16:
      for (int c = 0; c < 3; ++c) Store<std::uint16_t>(p + 2 * c, std::uint16_t(in[c]));
      break;
    default:
      break;
  }
}

inline void LoadFloats(std::int32_t format, const std::uint8_t* p, float out[4]) {
  out[0] = out[1] = out[2] = out[3] = 0.0f;
  if (format == kFormatGreyFloat) {
    out[0] = Load<float>(p);
  } else if (format == kFormatRgbaFloat) {
    for (int c = 0; c < 4; ++c) out[c] = Load<float>(p + 4 * c);
  }
}

inline void StoreFloats(std::int32_t format, std::uint8_t* p, const float in[4]) {
  if (format == kFormatGreyFloat) {
    Store<float>(p, in[0]);
  } else if (format == kFormatRgbaFloat) {
    for (int c = 0; c < 4; ++c) Store<float>(p + 4 * c, in[c]);
  }
}

// Largest raw value an integer format stores.
inline std::int32_t StorageMax(std::int32_t format) {
  return (format == kFormatGrey8 || format == kFormatPacked8) ? 255 : 65535;
}

// Formats 2 and 7 hold 1.0 as 65535.
inline bool IsFixedPointFormat(std::int32_t format) {
  return format == kFormatGreyFixed16 || format == kFormatRgbFixed16;
}

// Float to int with NaN as 0 and the int32 range respected.
inline std::int32_t SaturatingTruncate(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483520.0f) return 2147483520;
  if (v <= -2147483520.0f) return -2147483520;
  return std::int32_t(v);
}

}  // namespace stellane::pixels
