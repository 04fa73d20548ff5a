// The tiled image pyramid: level sizes, every pixel format across tile
// borders, the pyramid's kernel, scaled copies and running out of memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "image/TiledImage.h"

namespace stellane {
namespace {

// An image released at the end of the test.
struct Image : TiledImage {
  Image(std::int32_t w, std::int32_t h, std::int32_t format, bool bordered = false) {
    InitTiledImage(*this);
    EXPECT_TRUE(CreateTiledImage(*this, w, h, format, bordered));
  }
  Image(const Image&) = delete;
  ~Image() { ReleaseTiledImage(*this); }
};

// A value in 0..top that differs between neighbouring pixels and channels.
std::int32_t Sample(std::int32_t x, std::int32_t y, std::int32_t c, std::int32_t top) {
  return (x * 7 + y * 13 + c * 101 + ((x ^ y) & 31)) % (top + 1);
}

// Width and height of every level, level 0 first.
std::vector<int> LevelSizes(const TiledImage& image) {
  std::vector<int> sizes;
  for (int l = 0; l <= image.lastLevel; ++l) {
    sizes.push_back(image.levels[l].width);
    sizes.push_back(image.levels[l].height);
  }
  return sizes;
}

std::int32_t Channel0(const TiledImage& image, int x, int y, int level) {
  int v[4];
  ReadChannels(image, x, y, level, v);
  return v[0];
}

// Every pixel of level 0 of `image` set to `v`.
void Fill(TiledImage& image, const int (&v)[4]) {
  for (int y = 0; y < image.levels[0].height; ++y)
    for (int x = 0; x < image.levels[0].width; ++x) WriteChannels(image, x, y, 0, v);
}

// Halves rounded up, then odd results of 3 or more made even (125 -> 126,
// 19 -> 20); a 1 x 1 picture still has a level above it; a bordered image
// is two pixels larger on every level, 4 bytes a pixel. Tiles of 512 x 512
// on every level: 2 x 2 on level 0 of 1000 x 600, one on each other level.
TEST(TiledImage, LevelsHalveRoundingUpToEvenSizes) {
  const struct {
    int w, h, format;
    bool bordered;
    std::vector<int> sizes;
    int tiles, bytesPerPixel;
  } cases[] = {
      {1000,
       600,
       0,
       false,
       {1000, 600, 500, 300, 250, 150, 126, 76, 64, 38, 32, 20, 16, 10, 8, 6, 4, 4, 2, 2, 1, 1},
       14,
       1},
      {1, 1, 3, false, {1, 1, 1, 1}, 2, 4},
      {3, 3, 0, true, {5, 5, 4, 4, 3, 3}, 3, 4}};
  for (const auto& c : cases) {
    Image image(c.w, c.h, c.format, c.bordered);
    EXPECT_EQ(LevelSizes(image), c.sizes) << c.w;
    EXPECT_EQ(image.tileCount, c.tiles) << c.w;  // 512 x 512 tiles on every level
    EXPECT_EQ(image.bytesPerPixel, c.bytesPerPixel) << c.w;
  }
  Image a(1000, 600, 0);
  EXPECT_EQ(a.displayLevel, 7);
}

TEST(TiledImage, RefusesImpossibleSizesAndFormats) {
  TiledImage image;
  InitTiledImage(image);
  // Empty sides, the unknown formats 6 and 8, and 1 x 1 not within twenty levels.
  for (auto [w, h, format] :
       {std::array{0, 5, 3}, {5, -1, 3}, {5, 5, 6}, {5, 5, 8}, {1 << 20, 1, 0}})
    EXPECT_FALSE(CreateTiledImage(image, w, h, format)) << w << " " << h << " " << format;
  EXPECT_FALSE(HasPixels(image));
  EXPECT_EQ(Channel0(image, 0, 0, 0), 0);  // an empty image reads zeros
}

TEST(TiledImage, EveryFormatKeepsEveryPixelAcrossTileBordersAndClampsReads) {
  struct Case {
    int format, channels, top;
  };
  for (Case k : {Case{0, 1, 255}, Case{1, 1, 32768}, Case{2, 1, 65535}, Case{3, 4, 255},
                 Case{4, 4, 32768}, Case{5, 1, 65535}, Case{7, 3, 65535}, Case{9, 4, 65535}}) {
    SCOPED_TRACE(k.format);
    Image image(513, 514, k.format);  // a second row and column of tiles
    EXPECT_EQ(image.channels, k.channels);
    for (int y = 0; y < 514; ++y)
      for (int x = 0; x < 513; ++x) {
        const int v[4] = {Sample(x, y, 0, k.top), Sample(x, y, 1, k.top), Sample(x, y, 2, k.top),
                          Sample(x, y, 3, k.top)};
        WriteChannels(image, x, y, 0, v);
      }
    // Writes outside the level are ignored.
    const int poison[4] = {1, 1, 1, 1};
    const float floatPoison[4] = {1, 1, 1, 1};
    for (auto [x, y, level] : {std::array{-5, -5, 0}, {513, 0, 0}, {0, 514, 0}, {0, 0, 99}})
      WriteChannels(image, x, y, level, poison);
    WriteChannelsFloat(image, -1, 0, 0, floatPoison);
    int bad = 0;
    for (int y = 0; y < 514; ++y)
      for (int x = 0; x < 513; ++x) {
        int v[4];
        ReadChannels(image, x, y, 0, v);
        for (int c = 0; c < 4; ++c) bad += v[c] != (c < k.channels ? Sample(x, y, c, k.top) : 0);
      }
    EXPECT_EQ(bad, 0);
    // Reads clamp into the level, and the level into the pyramid.
    EXPECT_EQ(Channel0(image, -5, -5, -1), Sample(0, 0, 0, k.top));
    EXPECT_EQ(Channel0(image, 10000, 10000, 0), Sample(512, 513, 0, k.top));
  }
}

TEST(TiledImage, PackedWordsAndFloatWritesIntoIntegerStorage) {
  Image bytes(2, 1, 3);
  const int v[4] = {0x12, 0x34, 0x56, 0x78};
  WriteChannels(bytes, 1, 0, 0, v);
  EXPECT_EQ(ReadPacked(bytes, 1, 0, 0), 0x12345678u);  // channel 0 in the top byte
  const float in[4] = {-3.0f, 100.5f, 300.0f, std::numeric_limits<float>::quiet_NaN()};
  WriteChannelsFloat(bytes, 0, 0, 0, in);  // rounded, clamped, NaN as 0
  EXPECT_EQ(ReadPacked(bytes, 0, 0, 0), PackChannels(0, 101, 255, 0));
  Image fixed(1, 1, 7);  // 0..1 in sixteen bits
  const float unit[4] = {0.0f, 0.5f, 1.0f, 0.0f};
  WriteChannelsFloat(fixed, 0, 0, 0, unit);
  float back[4];
  ReadChannelsFloat(fixed, 0, 0, 0, back);
  EXPECT_NEAR(back[1], 0.5f, 1e-5f);
  EXPECT_FLOAT_EQ(back[2], 1.0f);
}

TEST(TiledImagePyramid, SixteenBitLevelOneIsTheKernelSum) {
  // One lit pixel at (4, 4) spreads to level 1 with the kernel's weights /
  // 1640: centre 256, next 64 and 16, corners 0.
  Image image(8, 8, 1);
  const int lit[4] = {32768, 0, 0, 0};
  WriteChannels(image, 4, 4, 0, lit);
  ASSERT_TRUE(RebuildPyramid(image));
  EXPECT_EQ(image.pyramidState, kPyramidBuilt);
  EXPECT_EQ(Channel0(image, 2, 2, 1), 5115);  // 32768 * 256 / 1640
  EXPECT_EQ(Channel0(image, 3, 2, 1), 79);    // 32768 * 4 / 1640
  EXPECT_EQ(Channel0(image, 1, 1, 1), 319);   // 32768 * 16 / 1640
  EXPECT_EQ(Channel0(image, 3, 3, 1), 0);     // corner weight 0
  // At the edge the clamped reads repeat pixel 0: weights 0 1 4 / 1 16 64 /
  // 4 64 256 all fall on it, 410 of 1640.
  Image edge(8, 8, 1);
  const int corner[4] = {16400, 0, 0, 0};
  WriteChannels(edge, 0, 0, 0, corner);
  RebuildPyramid(edge);
  EXPECT_EQ(Channel0(edge, 0, 0, 1), 4100);
}

TEST(TiledImagePyramid, EightBitIsASliverBrighterAndClampsAt255) {
  // 1640 / 1630 of the value, truncated, on every level: 200 -> 201 -> 202.
  for (auto [in, out] : {std::pair{100, 100}, {200, 201}, {255, 255}, {0, 0}}) {
    Image image(9, 7, 3);
    Fill(image, {in, 1, in, 50});
    RebuildPyramid(image);
    EXPECT_EQ(ReadPacked(image, 1, 1, 1) >> 8, PackChannels(out, 1, out, 0) >> 8) << in;
    if (in == 200) {
      EXPECT_EQ(PackedChannel(ReadPacked(image, 0, 0, 2), 0), 202u);
    }
  }
}

TEST(TiledImageScaledCopy, HalfSizeReadsLevelOne) {
  Image source(64, 48, 3), half(32, 24, 3);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x)
      WritePacked(source, x, y, 0,
                  PackChannels(Sample(x, y, 0, 255), Sample(x, y, 1, 255), y * 3, 9));
  CopyScaled(source, half, {0, 0, 64, 48}, {0, 0, 32, 24}, 0.0f);
  int notLevelOne = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 32; ++x)
      notLevelOne += (ReadPacked(half, x, y, 0) >> 8) != (ReadPacked(source, x, y, 1) >> 8);
  EXPECT_EQ(notLevelOne, 0);
}

TEST(TiledImageScaledCopy, ScalesBySourceMaximumAndHandlesGreyAndEdgeCases) {
  // 16-bit: 32768 is full, half of it truncates to 127.
  Image deep(8, 8, 4), grey(8, 8, 0), dest(6, 6, 3), fresh(8, 8, 3);
  Fill(deep, {32768, 16384, 0, 0});
  Fill(grey, {77, 0, 0, 0});
  CopyScaled(deep, dest, {0, 0, 8, 8}, {1, 1, 5, 5}, 0.0f);
  EXPECT_EQ(ReadPacked(dest, 2, 2, 0), PackChannels(255, 127, 0, 255));
  EXPECT_EQ(ReadPacked(dest, 0, 0, 0), 0u);  // outside the destination rectangle
  CopyScaled(grey, dest, {0, 0, 8, 8}, {-3, -3, 20, 20}, 0.0f);  // clipped to the image
  EXPECT_EQ(ReadPacked(dest, 5, 5, 0), PackChannels(77, 77, 77, 255));
  // An empty source rectangle copies nothing.
  WritePacked(fresh, 0, 0, 0, 0xFFFFFFFFu);
  CopyScaled(fresh, dest, {3, 3, 3, 3}, {0, 0, 6, 6}, 0.0f);
  EXPECT_EQ(ReadPacked(dest, 5, 5, 0), PackChannels(77, 77, 77, 255));
}

TEST(TiledImage, LinearToDisplayByteIsASquareRootCurve) {
  const float inf = std::numeric_limits<float>::infinity();
  const float in[] = {0.0f, 0.25f, 0.5f, 1.0f, 70000.0f, -2.0f, std::nanf(""), inf};
  const int out[] = {0, 127, 180, 255, 255, 0, 0, 255};  // 255 * sqrt(v), truncated
  for (int i = 0; i < 8; ++i) EXPECT_EQ(LinearToDisplayByte(in[i]), out[i]) << in[i];
}

// ---- Memory: a block source that gives a limited number of blocks, and
// gives them dirty (as a host's buffer suite may).

int gBlocksLeft = 0, gBlocksHeld = 0;

BlockSource CountingBlocks() {
  BlockSource source;
  source.allocate = [](const void*, std::int32_t size, MemoryBlock& block) {
    if (gBlocksLeft-- <= 0 || !AllocateHeapBlock(size, block)) return false;
    std::memset(block.data, 0xAB, std::size_t(size));
    ++gBlocksHeld;
    return true;
  };
  source.release = [](const void*, MemoryBlock& block) {
    if (block.data) --gBlocksHeld;
    ReleaseHeapBlock(block);
  };
  return source;
}

TEST(TiledImageMemory, EveryBlockGoesBackAlsoWhenMemoryRunsOutAtAnyBlock) {
  TiledImage image;
  InitTiledImage(image, CountingBlocks());
  gBlocksLeft = 1000;
  gBlocksHeld = 0;
  ASSERT_TRUE(CreateTiledImage(image, 1030, 520, 0));
  EXPECT_EQ(ReadPacked(image, 1029, 519, 0), PackChannels(0, 0, 0, 255));  // zeroed
  const int blocks = image.tileCount + 1;                                  // tiles and table
  EXPECT_EQ(gBlocksHeld, blocks);
  ASSERT_TRUE(RebuildPyramid(image));  // its row buffer goes back too
  EXPECT_EQ(gBlocksHeld, blocks);
  ASSERT_TRUE(CreateTiledImage(image, 20, 20, 3));  // releases first
  ReleaseTiledImage(image);
  ReleaseTiledImage(image);  // releasing an empty image does nothing
  EXPECT_EQ(gBlocksHeld, 0);

  for (int granted = 0; granted < blocks; ++granted) {
    SCOPED_TRACE(testing::Message() << granted << " blocks");
    gBlocksLeft = granted;
    InitTiledImage(image, CountingBlocks());
    EXPECT_FALSE(CreateTiledImage(image, 1030, 520, 0));
    EXPECT_FALSE(HasPixels(image));
    EXPECT_EQ(image.tiles, nullptr);
    EXPECT_EQ(gBlocksHeld, 0);
    int v[4];
    ReadChannels(image, 0, 0, 0, v);  // still safe to read
    WriteChannels(image, 0, 0, 0, v);
  }
}

}  // namespace
}  // namespace stellane
