// How the host reads the pixel map of a displayPixels call (as the map
// describes itself, or the way pspiHost reads it), and what the calls leave
// on the screen.
#include <algorithm>
#include <climits>
#include <string>

#include "testhost/Session.h"

namespace testhost {

namespace {

const std::uint8_t* SampleAt(const ps::PSPixelMap& map, std::int64_t row, std::int64_t column,
                             std::int64_t columnBytes, int plane) {
  return static_cast<const std::uint8_t*>(map.baseAddr) + row * map.rowBytes +
         column * columnBytes + std::int64_t(plane) * map.planeBytes;
}

// Rows and columns of srcRect at their place in the map, every plane at
// planeBytes steps; a row at a time where the map's samples lie packed.
void ReadAsDescribed(const ps::PSPixelMap& map, DisplayCall& call) {
  const ps::VRect r = call.srcRect;
  const std::int64_t pixelBytes = std::int64_t(call.planes) * call.bytesPerSample;
  call.pixels.reserve(std::size_t(r.bottom - r.top) * std::size_t(r.right - r.left) *
                      std::size_t(pixelBytes));
  const bool packed = map.colBytes == pixelBytes && map.planeBytes == call.bytesPerSample;
  for (std::int32_t y = r.top; y < r.bottom; ++y) {
    if (packed) {
      const std::uint8_t* s =
          SampleAt(map, y - map.bounds.top, r.left - map.bounds.left, map.colBytes, 0);
      call.pixels.insert(call.pixels.end(), s, s + (r.right - r.left) * pixelBytes);
      continue;
    }
    for (std::int32_t x = r.left; x < r.right; ++x)
      for (int p = 0; p < call.planes; ++p) {
        const std::uint8_t* s =
            SampleAt(map, y - map.bounds.top, x - map.bounds.left, map.colBytes, p);
        call.pixels.insert(call.pixels.end(), s, s + call.bytesPerSample);
      }
  }
}

// pspiHost draws 8-bit maps into a fresh bitmap of srcRect's size. Grey: it
// reads one byte per pixel whatever colBytes says, and writes source row y
// to bitmap row y (not y - srcRect.top), so a srcRect that does not start at
// row 0 runs past the bitmap; the real host dies there, this one stops and
// reports it. RGB: it reads from the map's first pixel whatever srcRect's
// origin, and takes the samples blue first.
void ReadAsPspiHost(Session& s, const ps::PSPixelMap& map, DisplayCall& call) {
  const ps::VRect r = call.srcRect;
  const std::int32_t width = r.right - r.left;
  const std::int32_t height = r.bottom - r.top;
  call.pixels.assign(std::size_t(width) * std::size_t(height) * std::size_t(call.planes), 0);
  if (call.planes == 1) {
    for (std::int32_t y = r.top; y < r.bottom; ++y) {
      if (y >= height) {
        s.ProtocolError("displayPixels (pspiHost): grey row " + std::to_string(y) +
                        " written past the host's bitmap of " + std::to_string(height) + " rows");
        return;
      }
      for (std::int32_t i = 0; i < width; ++i)
        call.pixels[std::size_t(y) * std::size_t(width) + std::size_t(i)] =
            *SampleAt(map, y - map.bounds.top, r.left - map.bounds.left + i, 1, 0);
    }
    return;
  }
  std::uint8_t* to = call.pixels.data();
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x)
      for (int p = 0; p < 3; ++p) *to++ = *SampleAt(map, y, x, map.colBytes, 2 - p);
}

}  // namespace

void ReadDisplayedPixels(Session& s, const ps::PSPixelMap& map, DisplayCall& call) {
  if (s.config.quirks.pspiHostDisplay && call.bytesPerSample == 1)
    ReadAsPspiHost(s, map, call);
  else
    ReadAsDescribed(map, call);
}

const std::uint8_t* ShownScreen::At(int row, int column) const {
  const int y = row - top, x = column - left;
  if (y < 0 || x < 0 || y >= height || x >= width) return nullptr;
  const std::size_t i = std::size_t(y) * std::size_t(width) + std::size_t(x);
  return drawn[i] ? pixels.data() + i * std::size_t(planes) : nullptr;
}

ShownScreen ShowCalls(const std::vector<DisplayCall>& calls) {
  ShownScreen screen;
  int top = INT_MAX, left = INT_MAX, bottom = INT_MIN, right = INT_MIN;
  for (const DisplayCall& call : calls) {
    if (call.bytesPerSample != 1 || (screen.planes && call.planes != screen.planes)) continue;
    screen.planes = call.planes;
    top = std::min(top, call.dstRow);
    left = std::min(left, call.dstCol);
    bottom = std::max(bottom, call.dstRow + call.srcRect.bottom - call.srcRect.top);
    right = std::max(right, call.dstCol + call.srcRect.right - call.srcRect.left);
  }
  if (screen.planes == 0 || bottom <= top || right <= left) return ShownScreen{};
  screen.top = top;
  screen.left = left;
  screen.width = right - left;
  screen.height = bottom - top;
  const std::size_t area = std::size_t(screen.width) * std::size_t(screen.height);
  screen.pixels.assign(area * std::size_t(screen.planes), 0);
  screen.drawn.assign(area, false);
  for (const DisplayCall& call : calls) {
    if (call.bytesPerSample != 1 || call.planes != screen.planes) continue;
    const int width = call.srcRect.right - call.srcRect.left;
    for (int y = 0; y < call.srcRect.bottom - call.srcRect.top; ++y)
      for (int x = 0; x < width; ++x) {
        const std::size_t to = std::size_t(call.dstRow + y - top) * std::size_t(screen.width) +
                               std::size_t(call.dstCol + x - left);
        std::copy_n(call.pixels.data() + std::size_t(y * width + x) * std::size_t(call.planes),
                    call.planes, screen.pixels.data() + to * std::size_t(screen.planes));
        screen.drawn[to] = true;
      }
  }
  return screen;
}

}  // namespace testhost
