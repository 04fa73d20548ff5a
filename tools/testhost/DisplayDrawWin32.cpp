// The recorded samples of a displayPixels call become one 32-bit top-down DIB
// drawn at (dstCol, dstRow) of the plug-in's device context.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/TopDownBitmapWin32.h"
#include "testhost/DisplayDraw.h"

namespace testhost {

namespace {

// One sample to 0..255: 8-bit as is, 16-bit from the host's 0..32768, float
// from 0..1, clamped.
std::uint32_t Byte(const std::uint8_t* sample, int bytesPerSample) {
  double v = 0;
  if (bytesPerSample == 1) return *sample;
  if (bytesPerSample == 2) {
    std::uint16_t s;
    std::memcpy(&s, sample, 2);
    v = s / 32768.0;
  } else {
    float f;
    std::memcpy(&f, sample, 4);
    v = f;
  }
  if (!(v > 0)) return 0;
  if (v >= 1) return 255;
  return std::uint32_t(v * 255 + 0.5);
}

}  // namespace

void DrawDisplayCall(const DisplayCall& call) {
  HDC dc = static_cast<HDC>(call.platformContext);
  const int width = call.srcRect.right - call.srcRect.left;
  const int height = call.srcRect.bottom - call.srcRect.top;
  if (!dc || width <= 0 || height <= 0 || call.planes <= 0) return;
  const std::size_t pixelBytes = std::size_t(call.planes) * std::size_t(call.bytesPerSample);
  if (call.pixels.size() < pixelBytes * std::size_t(width) * std::size_t(height)) return;
  std::vector<std::uint32_t> bgra(std::size_t(width) * std::size_t(height));
  for (std::size_t i = 0; i < bgra.size(); ++i) {
    const std::uint8_t* p = call.pixels.data() + i * pixelBytes;
    const std::uint32_t r = Byte(p, call.bytesPerSample);
    const std::uint32_t g =
        call.planes >= 3 ? Byte(p + call.bytesPerSample, call.bytesPerSample) : r;
    const std::uint32_t b =
        call.planes >= 3 ? Byte(p + 2 * call.bytesPerSample, call.bytesPerSample) : r;
    bgra[i] = (r << 16) | (g << 8) | b;
  }
  const BITMAPINFO info = stellane::TopDownBitmapInfo(width, height);
  SetDIBitsToDevice(dc, call.dstCol, call.dstRow, DWORD(width), DWORD(height), 0, 0, 0,
                    UINT(height), bgra.data(), &info, DIB_RGB_COLORS);
}

}  // namespace testhost
