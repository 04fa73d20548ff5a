#include "export/FrameGifs.h"

#include <algorithm>
#include <cmath>

namespace stellane {

namespace {

// LZW with 4-bit pixels: codes 0..15 the pixels, 16 clear, 17 end. Sending a
// clear code before the table would need 6-bit codes keeps every code 5 bits
// wide, so the coder needs no table: the data stays about as long as the
// pixels, which costs nothing at these sizes.
constexpr std::uint32_t kClearCode = 16;
constexpr std::uint32_t kEndCode = 17;
constexpr int kCodeBits = 5;
constexpr int kLiteralsPerClear = 12;  // the decoder's table reaches 32 after 15

struct BitWriter {
  std::vector<std::uint8_t> bytes;
  std::uint32_t buffer = 0;
  int count = 0;
  void Put(std::uint32_t code) {
    buffer |= code << count;
    count += kCodeBits;
    while (count >= 8) {
      bytes.push_back(static_cast<std::uint8_t>(buffer));
      buffer >>= 8;
      count -= 8;
    }
  }
  void Flush() {
    if (count > 0) bytes.push_back(static_cast<std::uint8_t>(buffer));
    buffer = 0;
    count = 0;
  }
};

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// Shadow strength 0..15 at (x, y) of the whole frame: the picture's square
// moved one pixel right and two down, fading over four pixels.
std::uint8_t ShadowAt(std::int32_t x, std::int32_t y) {
  const float left = 4.0f, top = 4.0f, right = left + kFramedSide - 1,
              bottom = top + kFramedSide - 1;
  const float dx = std::max({left - x, 0.0f, x - right});
  const float dy = std::max({top - y, 0.0f, y - bottom});
  const float d = std::sqrt(dx * dx + dy * dy);
  return static_cast<std::uint8_t>(std::clamp(15.0f - d * 3.5f, 0.0f, 15.0f));
}

}  // namespace

std::vector<std::uint8_t> EncodeGif16(const std::uint8_t* indices, std::int32_t width,
                                      std::int32_t height, const std::uint8_t (&palette)[48]) {
  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(out, static_cast<std::uint32_t>(width));
  Put16(out, static_cast<std::uint32_t>(height));
  out.push_back(0xB3);  // global table of 16 colours, 4-bit colour resolution
  out.push_back(0);     // background colour
  out.push_back(0);     // square pixels
  out.insert(out.end(), palette, palette + 48);
  out.push_back(0x2C);  // image descriptor: whole screen, no local table
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<std::uint32_t>(width));
  Put16(out, static_cast<std::uint32_t>(height));
  out.push_back(0);
  out.push_back(4);  // minimum code size

  BitWriter bits;
  const std::int64_t pixelCount = std::int64_t{width} * height;
  for (std::int64_t i = 0; i < pixelCount; ++i) {
    if (i % kLiteralsPerClear == 0) bits.Put(kClearCode);
    bits.Put(indices[i] & 15u);
  }
  bits.Put(kEndCode);
  bits.Flush();
  for (std::size_t at = 0; at < bits.bytes.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, bits.bytes.size() - at);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), bits.bytes.begin() + std::ptrdiff_t(at),
               bits.bytes.begin() + std::ptrdiff_t(at + n));
  }
  out.push_back(0);     // block terminator
  out.push_back(0x3B);  // trailer
  return out;
}

std::vector<std::uint8_t> FrameGifBytes(const FramePiece& piece) {
  // Index 0 is the page's white, 15 the darkest shadow grey.
  std::uint8_t palette[48];
  for (int i = 0; i < 16; ++i) {
    const auto grey = static_cast<std::uint8_t>(255 - i * 5);
    palette[3 * i] = palette[3 * i + 1] = palette[3 * i + 2] = grey;
  }
  std::vector<std::uint8_t> indices;
  for (std::int32_t y = 0; y < piece.height; ++y) {
    for (std::int32_t x = 0; x < piece.width; ++x) {
      indices.push_back(ShadowAt(piece.left + x, piece.top + y));
    }
  }
  return EncodeGif16(indices.data(), piece.width, piece.height, palette);
}

}  // namespace stellane
