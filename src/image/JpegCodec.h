// JPEG in memory on top of libjpeg: the thumbnails stored in settings files
// and written for the HTML pages. Always three colour channels, quality 80.
// Corrupt or truncated data fails cleanly: libjpeg's errors and warnings are
// turned into a false result, never an exit or a read past the buffer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/TiledImage.h"

namespace stellane {

constexpr int kJpegQuality = 80;
// Largest side an image created by decompression may have, so that a lying
// header cannot make us allocate gigabytes.
constexpr std::int32_t kJpegMaxSide = 16384;

// Compressed bytes, owned by the record (malloc'd by libjpeg's memory
// destination); free with ReleaseJpegBytes.
struct JpegBytes {
  unsigned char* data = nullptr;
  std::size_t size = 0;
};

void ReleaseJpegBytes(JpegBytes& bytes);

// Compresses level 0 of `image` (any format with pixels: channels 0..2, or
// the grey of one-channel formats, scaled by the format's maximum and
// truncated to 8 bits).
bool CompressJpeg(const TiledImage& image, JpegBytes& out);

// Decompresses `size` bytes; pictures with a side above kJpegMaxSide are
// refused. When `image` already holds pixels, the decoded picture is written
// into its level 0 from (0, 0), whatever falls outside ignored; when it is
// empty, it is created in format 3 at the picture's size. Channel 3 is full.
// On failure an image created here is released again; a caller's image
// keeps whatever rows were written.
bool DecompressJpeg(const std::uint8_t* data, std::size_t size, TiledImage& image);

}  // namespace stellane
