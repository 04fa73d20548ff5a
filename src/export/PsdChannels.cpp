#include "export/PsdChannels.h"

#include <algorithm>
#include <cstring>

#include "export/PackBits.h"
#include "image/TiledImagePixels.h"

namespace stellane {

namespace {

bool DarkSquare(std::int32_t x, std::int32_t y) { return ((x ^ y) & 8) != 0; }

// 0..32768 to the file's 0..65535, rounded; 32768 becomes 65535.
std::uint16_t Widen16(std::int32_t v) {
  const std::int64_t c = std::clamp<std::int64_t>(v, 0, 32768);
  return static_cast<std::uint16_t>((c * 65535 + 16384) >> 15);
}

std::uint8_t Flatten8(std::int32_t colour, std::int32_t alpha, std::int32_t checker) {
  return static_cast<std::uint8_t>((colour * alpha + checker * (255 - alpha) + 127) / 255);
}

void PutBig32(std::uint8_t* out, std::uint32_t v) {
  out[0] = static_cast<std::uint8_t>(v >> 24);
  out[1] = static_cast<std::uint8_t>(v >> 16);
  out[2] = static_cast<std::uint8_t>(v >> 8);
  out[3] = static_cast<std::uint8_t>(v);
}

}  // namespace

std::size_t PsdRowBytes(const PsdJob& job) {
  return static_cast<std::size_t>(job.width) * static_cast<std::size_t>(job.bytesPerChannel);
}

void PsdChannelRow(const TiledImage& image, const PsdJob& job, int channel, bool merged,
                   std::int32_t y, std::uint8_t* out) {
  const ImageLevel& level = image.levels[0];
  const std::int32_t width = std::min(job.width, level.width);
  // Pixels the image lacks (never, for an image made for the job) stay zero.
  std::memset(out, 0, PsdRowBytes(job));
  if (!HasPixels(image) || y < 0 || y >= level.height) return;
  const bool flatten = merged && channel < 3 && job.bytesPerChannel != 2;

  for (std::int32_t x0 = 0; x0 < width; x0 += kTileSide) {
    const std::int32_t x1 = std::min(width, x0 + kTileSide);
    const std::uint8_t* p = pixels::Address(image, x0, y, 0);
    for (std::int32_t x = x0; x < x1; ++x, p += image.bytesPerPixel) {
      switch (image.format) {
        case 3: {
          const std::uint32_t word = pixels::Load<std::uint32_t>(p);
          const std::int32_t v = std::int32_t(PackedChannel(word, channel));
          out[x] = flatten ? Flatten8(v, std::int32_t(PackedChannel(word, 3)),
                                      DarkSquare(x, y) ? 204 : 255)
                           : static_cast<std::uint8_t>(v);
          break;
        }
        case 4: {
          const std::uint16_t v = Widen16(pixels::Load<std::uint16_t>(p + 2 * channel));
          out[2 * x] = static_cast<std::uint8_t>(v >> 8);
          out[2 * x + 1] = static_cast<std::uint8_t>(v);
          break;
        }
        case 9: {
          float v = pixels::Load<float>(p + 4 * channel);
          if (flatten) {
            float a = pixels::Load<float>(p + 12);
            a = a > 0.0f ? std::min(a, 1.0f) : 0.0f;
            const float checker = DarkSquare(x, y) ? 0.8f : 1.0f;
            v = v * a + checker * (1.0f - a);
          }
          std::uint32_t bits;
          std::memcpy(&bits, &v, sizeof bits);
          PutBig32(out + 4 * x, bits);
          break;
        }
        default:
          break;
      }
    }
  }
}

PsdChannelPlan PlanPsdChannel(const TiledImage& image, const PsdJob& job, int channel, bool merged,
                              bool packBits) {
  PsdChannelPlan plan{channel, merged, 0, {}, 0};
  const std::size_t rowBytes = PsdRowBytes(job);
  if (!packBits || job.bytesPerChannel == 4) {
    plan.dataBytes = std::uint64_t{rowBytes} * std::uint64_t(std::max(0, job.height));
    return plan;
  }
  plan.compression = 1;
  plan.rowLengths.resize(static_cast<std::size_t>(std::max(0, job.height)));
  std::vector<std::uint8_t> row(rowBytes);
  std::vector<std::uint8_t> coded(PackBitsBound(rowBytes));
  for (std::int32_t y = 0; y < job.height; ++y) {
    PsdChannelRow(image, job, channel, merged, y, row.data());
    // At most 30000 x 2 bytes a row: the coded length fits 16 bits.
    const std::size_t n = PackBitsEncode(row.data(), rowBytes, coded.data());
    plan.rowLengths[static_cast<std::size_t>(y)] = static_cast<std::uint16_t>(n);
    plan.dataBytes += n;
  }
  return plan;
}

void PutPsdRowCounts(ByteSink& sink, const PsdChannelPlan& plan) {
  for (std::uint16_t n : plan.rowLengths) PutU16(sink, n);
}

void PutPsdChannelRows(ByteSink& sink, const TiledImage& image, const PsdJob& job,
                       const PsdChannelPlan& plan) {
  const std::size_t rowBytes = PsdRowBytes(job);
  std::vector<std::uint8_t> row(rowBytes);
  std::vector<std::uint8_t> coded(plan.compression == 1 ? PackBitsBound(rowBytes) : 0);
  for (std::int32_t y = 0; y < job.height && !sink.failed; ++y) {
    PsdChannelRow(image, job, plan.channel, plan.merged, y, row.data());
    if (plan.compression == 1) {
      PutBytes(sink, coded.data(), PackBitsEncode(row.data(), rowBytes, coded.data()));
    } else {
      PutBytes(sink, row.data(), rowBytes);
    }
  }
}

}  // namespace stellane
