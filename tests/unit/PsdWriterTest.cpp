// The PSD writer on a small picture with transparency, which the exports of
// the command line never make: the merged picture over the checkerboard
// (read from the file's raw tail), a failing sink, and PackBits' run limit.
// The rest of the file is read back by psd-tools in exports_test.py.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "export/PackBits.h"
#include "export/PsdWriter.h"
#include "image/TiledImage.h"

namespace stellane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 19 x 11: red grows along x, green along y; alpha opaque in columns 0..3,
// clear in 15..18, half between.
struct Picture {
  TiledImage image;
  PsdJob job{4, 1, 19, 11, 3, 1};
  explicit Picture(std::int32_t bytesPerChannel) {
    job.bytesPerChannel = bytesPerChannel;
    InitTiledImage(image);
    EXPECT_TRUE(CreateTiledImage(image, 19, 11, PsdImageFormat(job)));
    for (std::int32_t y = 0; y < 11; ++y)
      for (std::int32_t x = 0; x < 19; ++x) {
        const float a = x < 4 ? 1.0f : x > 14 ? 0.0f : 0.5f;
        const float v[4] = {x / 19.0f, y / 11.0f, (x * y % 7) / 6.0f, a};
        float scaled[4];
        for (int c = 0; c < 4; ++c) scaled[c] = v[c] * image.maxValue;
        WriteChannelsFloat(image, x, y, 0, scaled);
      }
  }
  ~Picture() { ReleaseTiledImage(image); }
};

// The merged picture of a file written without PackBits is its tail:
// planar, big-endian samples (integers 0..full, or IEEE floats).
double MergedSample(const Bytes& file, int bytes, int channels, int c, int x, int y) {
  std::size_t at = file.size() - std::size_t(channels) * 11 * 19 * bytes;
  at += ((std::size_t(c) * 11 + y) * 19 + x) * bytes;
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | file[at + i];
  return bytes == 4 ? std::bit_cast<float>(v) : v / (bytes == 1 ? 255.0 : 65535.0);
}

TEST(PsdWriter, MergedPictureLiesOverTheCheckerboardAndAFailingSinkIsReported) {
  for (int bytes : {1, 2, 4}) {
    SCOPED_TRACE(bytes);
    Picture p(bytes);
    Bytes file;
    ByteSink sink = MemorySink(file);
    const PsdExtras extras{nullptr, 0, "20261206", false};
    ASSERT_EQ(WritePsd(p.job, p.image, extras, sink), PsdWriteStatus::kOk);
    // 16-bit files keep the transparency as a fourth channel and show no board.
    const int channels = bytes == 2 ? 4 : 3;
    // Integer samples are the nearest to the exact value.
    const double tolerance = bytes == 1 ? 0.5 / 255 : bytes == 2 ? 0.5 / 65535 : 1e-6;
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 19; ++x) {
        float layer[4];
        ReadChannelsFloat(p.image, x, y, 0, layer);
        const double a = layer[3] / p.image.maxValue;
        // Squares of 8 x 8 of 204 and 255 (0.8 and 1), dark where x ^ y has bit 3.
        const double board = (x ^ y) & 8 ? 0.8 : 1.0;
        for (int c = 0; c < channels; ++c) {
          const double v = layer[c] / p.image.maxValue;
          const double expected = channels == 4 ? v : a * v + (1 - a) * board;
          ASSERT_NEAR(MergedSample(file, bytes, channels, c, x, y), expected, tolerance + 1e-7)
              << x << "," << y << " channel " << c;
        }
      }
  }
  Picture p(1);
  ByteSink failing{};  // neither memory nor file
  const PsdExtras extras{nullptr, 0, "20261206", true};
  EXPECT_EQ(WritePsd(p.job, p.image, extras, failing), PsdWriteStatus::kWriteFailed);
}

// Runs longer than 128 split into headers of -127 (0x81): 128 + 128 + 44 zeros.
TEST(PackBits, LongRunsTakeTwoBytesPer128) {
  const Bytes zeros(300, 0);
  Bytes coded(PackBitsBound(300));
  coded.resize(PackBitsEncode(zeros.data(), 300, coded.data()));
  EXPECT_EQ(coded, (Bytes{0x81, 0, 0x81, 0, 0xD5, 0}));
}

}  // namespace
}  // namespace stellane
