// The JPEG codec (thumbnails in settings files and the HTML pages): a round
// trip of a lopsided picture, and damaged data that must fail cleanly.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/JpegCodec.h"

namespace stellane {
namespace {

// A lopsided picture at an odd size: a red block at the top left, a blue
// block at the bottom right, smooth ramps that differ per channel elsewhere.
// Swapped channels, flipped rows or mirrored columns all show.
constexpr int kW = 37;
constexpr int kH = 23;

std::array<int, 3> PictureAt(int x, int y) {
  if (x < 10 && y < 8) return {230, 20, 20};
  if (x >= 27 && y >= 15) return {10, 30, 220};
  return {40 + x * 4, 60 + y * 6, 128};
}

TiledImage MakePicture() {
  TiledImage image;
  InitTiledImage(image);
  EXPECT_TRUE(CreateTiledImage(image, kW, kH, 3));
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const auto p = PictureAt(x, y);
      WritePacked(image, x, y, 0, PackChannels(p[0], p[1], p[2], 0));
    }
  return image;
}

// Mean and largest channel difference from the picture.
void CompareWithPicture(const TiledImage& image, double& mean, int& largest) {
  double sum = 0;
  largest = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      for (int c = 0; c < 3; ++c) {
        const int d =
            std::abs(int(PackedChannel(ReadPacked(image, x, y, 0), c)) - PictureAt(x, y)[c]);
        sum += d;
        largest = std::max(largest, d);
      }
  mean = sum / (kW * kH * 3);
}

// Decodes the first `size` bytes from a block of exactly that size, so that a
// read past the end is caught by the address sanitizer.
bool DecodesInto(const std::vector<std::uint8_t>& bytes, std::size_t size, TiledImage& image) {
  std::uint8_t* copy = static_cast<std::uint8_t*>(std::malloc(size ? size : 1));
  if (size) std::memcpy(copy, bytes.data(), size);
  const bool ok = DecompressJpeg(copy, size, image);
  std::free(copy);
  return ok;
}

TEST(JpegCodec, RoundTripKeepsALopsidedPictureAndDamagedDataFailsCleanly) {
  TiledImage picture = MakePicture();
  JpegBytes jpeg;
  ASSERT_TRUE(CompressJpeg(picture, jpeg));
  TiledImage decoded;
  InitTiledImage(decoded);
  ASSERT_TRUE(DecodesInto({jpeg.data, jpeg.data + jpeg.size}, jpeg.size, decoded));
  EXPECT_EQ(decoded.format, 3);
  EXPECT_EQ(decoded.levels[0].width, kW);
  EXPECT_EQ(decoded.levels[0].height, kH);
  EXPECT_EQ(PackedChannel(ReadPacked(decoded, 5, 5, 0), 3), 255u);
  double mean;
  int largest;
  CompareWithPicture(decoded, mean, largest);
  // Chroma is halved in both directions, so the saturated block edges bleed
  // (by up to about 110); the ramps and block interiors stay close. Swapped
  // channels, flipped rows or mirrored columns raise the mean above 20.
  EXPECT_LT(mean, 8.0);
  EXPECT_LT(largest, 128);

  const std::vector<std::uint8_t> good(jpeg.data, jpeg.data + jpeg.size);
  ReleaseJpegBytes(jpeg);
  ReleaseTiledImage(picture);
  ReleaseTiledImage(decoded);

  // One of each kind of damage (the settings reader's fuzzer, which decodes
  // thumbnails, tries the rest): cut in the middle, nothing, a start marker
  // and then noise, a frame header far larger than the data, one flipped
  // byte of entropy-coded data (any verdict, but a failure leaves no image).
  std::vector<std::uint8_t> noise(600), huge = good, flipped = good;
  std::uint32_t seed = 12345;
  for (auto& b : noise) b = std::uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
  noise[0] = 0xFF, noise[1] = 0xD8;
  for (std::size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {  // start of frame
      huge[i + 5] = huge[i + 7] = 0xEA;            // 60000-odd high and wide
      huge[i + 6] = huge[i + 8] = 0x60;
      break;
    }
  }
  flipped[good.size() * 3 / 4] ^= 0x5A;
  const struct {
    const std::vector<std::uint8_t>& bytes;
    std::size_t size;
    bool mayDecode;
  } cases[] = {{good, good.size() / 2, false},
               {good, 0, false},
               {noise, noise.size(), false},
               {huge, huge.size(), false},
               {flipped, flipped.size(), true}};
  TiledImage image;
  InitTiledImage(image);
  for (const auto& c : cases) {
    const bool decoded = DecodesInto(c.bytes, c.size, image);
    EXPECT_TRUE(c.mayDecode || !decoded) << c.size;
    EXPECT_EQ(HasPixels(image), decoded) << c.size;
    ReleaseTiledImage(image);
  }
  // And the codec still works afterwards.
  EXPECT_TRUE(DecodesInto(good, good.size(), image));
  ReleaseTiledImage(image);
}

}  // namespace
}  // namespace stellane
