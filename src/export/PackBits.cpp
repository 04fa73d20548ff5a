#include "export/PackBits.h"

#include <cstring>

namespace stellane {

namespace {

constexpr std::size_t kMaxRun = 128;

// Length of the run of equal bytes starting at i, at most kMaxRun.
std::size_t RunLength(const std::uint8_t* data, std::size_t i, std::size_t size) {
  std::size_t n = 1;
  while (i + n < size && n < kMaxRun && data[i + n] == data[i]) ++n;
  return n;
}

}  // namespace

std::size_t PackBitsEncode(const std::uint8_t* data, std::size_t size, std::uint8_t* out) {
  std::size_t o = 0;
  std::size_t i = 0;
  while (i < size) {
    const std::size_t run = RunLength(data, i, size);
    // Runs of three or more pay off; a run of two only stays cheaper as a
    // literal when literals surround it, so literals take it.
    if (run >= 3) {
      out[o++] = static_cast<std::uint8_t>(257 - run);  // -(run - 1)
      out[o++] = data[i];
      i += run;
      continue;
    }
    // Literals up to the next run of three or the 128-byte limit.
    const std::size_t start = i;
    while (i < size && i - start < kMaxRun) {
      if (i + 2 < size && data[i] == data[i + 1] && data[i] == data[i + 2]) break;
      ++i;
    }
    const std::size_t count = i - start;
    out[o++] = static_cast<std::uint8_t>(count - 1);
    std::memcpy(out + o, data + start, count);
    o += count;
  }
  return o;
}

}  // namespace stellane
