#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "image/HostImageRead.h"
#include "image/TiledImage.h"
#include "params/RenderParams.h"

namespace stellane {
namespace {

// ---- A host whose buffer suite gives a limited number of blocks and counts
// the ones not yet freed.

struct FakeMemory {
  int blocksLeft = 1 << 30;
  int outstanding = 0;
};
FakeMemory gMemory;

ps::OSErr FakeAllocate(ps::int32 size, ps::BufferID* id) {
  if (gMemory.blocksLeft <= 0) return ps::memFullErr;
  void* block = std::malloc(std::size_t(size));
  if (!block) return ps::memFullErr;
  --gMemory.blocksLeft;
  ++gMemory.outstanding;
  *id = static_cast<ps::BufferID>(block);
  return ps::noErr;
}
ps::Ptr FakeLock(ps::BufferID id, ps::Boolean) { return reinterpret_cast<ps::Ptr>(id); }
void FakeUnlock(ps::BufferID) {}
void FakeFree(ps::BufferID id) {
  --gMemory.outstanding;
  std::free(id);
}

struct FakeHost {
  ps::BufferProcs procs{};
  ps::FilterRecord record{};
  explicit FakeHost(int blocks) {
    gMemory = FakeMemory{};
    gMemory.blocksLeft = blocks;
    procs.allocateProc = FakeAllocate;
    procs.lockProc = FakeLock;
    procs.unlockProc = FakeUnlock;
    procs.freeProc = FakeFree;
    record.bufferProcs = &procs;
  }
};

// Stands in for an exhausted process heap: blocks that the host refused and
// the heap would give are refused too once the heap budget is spent.
int gHeapBlocksLeft = 0;
bool AllocateWithSmallHeap(const ps::FilterRecord* host, std::int32_t size, WorkBuffer& buffer) {
  if (!AllocateWorkBuffer(host, size, buffer)) return false;
  if (buffer.heapBlock && gHeapBlocksLeft-- <= 0) {
    ReleaseWorkBuffer(host, buffer);
    return false;
  }
  return true;
}

// ---- Helpers

TiledImage NewImage(std::int32_t w, std::int32_t h, std::int32_t format,
                    const ps::FilterRecord* host = nullptr) {
  TiledImage image;
  InitTiledImage(image, host);
  EXPECT_TRUE(CreateTiledImage(image, w, h, format));
  return image;
}

std::int32_t Sample(std::int32_t x, std::int32_t y, std::int32_t c, std::int32_t top) {
  return (x * 7 + y * 13 + c * 101 + ((x ^ y) & 31)) % (top + 1);
}

std::vector<std::pair<int, int>> LevelSizes(const TiledImage& image) {
  std::vector<std::pair<int, int>> sizes;
  for (int l = 0; l <= image.lastLevel; ++l) {
    sizes.emplace_back(image.levels[l].width, image.levels[l].height);
  }
  return sizes;
}

// ---- Level sizes and tiling

TEST(TiledImage, LevelSizesHalveRoundingUpAndEvenUpOddSizes) {
  TiledImage a = NewImage(1000, 600, 0);
  const std::vector<std::pair<int, int>> chain = {{1000, 600}, {500, 300}, {250, 150}, {126, 76},
                                                  {64, 38},    {32, 20},   {16, 10},   {8, 6},
                                                  {4, 4},      {2, 2},     {1, 1}};
  EXPECT_EQ(LevelSizes(a), chain);
  EXPECT_EQ(a.lastLevel, 10);
  EXPECT_EQ(a.displayLevel, 7);
  EXPECT_FLOAT_EQ(a.aspect, 1000.0f / 600.0f);

  TiledImage one = NewImage(1, 1, 3);
  EXPECT_EQ(LevelSizes(one), (std::vector<std::pair<int, int>>{{1, 1}, {1, 1}}));
  EXPECT_EQ(one.tileCount, 2);

  TiledImage three = NewImage(3, 3, 3);
  EXPECT_EQ(LevelSizes(three), (std::vector<std::pair<int, int>>{{3, 3}, {2, 2}, {1, 1}}));

  // A bordered image is two pixels larger on every level, 4 bytes a pixel at
  // least.
  TiledImage bordered;
  InitTiledImage(bordered, nullptr);
  ASSERT_TRUE(CreateTiledImage(bordered, 3, 3, 0, true));
  EXPECT_EQ(LevelSizes(bordered), (std::vector<std::pair<int, int>>{{5, 5}, {4, 4}, {3, 3}}));
  EXPECT_EQ(bordered.bytesPerPixel, 4);
  ReleaseTiledImage(bordered);

  EXPECT_EQ(NextLevelSize(7), 4);
  EXPECT_EQ(NextLevelSize(10), 6);
  EXPECT_EQ(NextLevelSize(5), 4);
  EXPECT_EQ(NextLevelSize(2), 1);
  for (TiledImage* image : {&a, &one, &three}) ReleaseTiledImage(*image);
}

TEST(TiledImage, RefusesImpossibleSizesAndFormats) {
  TiledImage image;
  InitTiledImage(image, nullptr);
  EXPECT_FALSE(CreateTiledImage(image, 0, 5, 3));
  EXPECT_FALSE(CreateTiledImage(image, 5, -1, 3));
  EXPECT_FALSE(CreateTiledImage(image, 5, 5, 6));
  EXPECT_FALSE(CreateTiledImage(image, 5, 5, 8));
  EXPECT_FALSE(HasPixels(image));
  // 1 x 1 is not reached within twenty levels.
  EXPECT_FALSE(CreateTiledImage(image, 1 << 20, 1, 0));
  EXPECT_FALSE(HasPixels(image));
  int channels[4];
  ReadChannels(image, 0, 0, 0, channels);  // an empty image reads zeros
  EXPECT_EQ(channels[0], 0);
}

// ---- Pixel access

// (Tile rows as well as columns are crossed by the 600 x 520 image below.)
TEST(TiledImage, EveryFormatKeepsEveryPixelAcrossTileBorders) {
  struct Case {
    int format, channels, top;
  };
  for (Case k : {Case{0, 1, 255}, Case{1, 1, 32768}, Case{2, 1, 65535}, Case{3, 4, 255},
                 Case{4, 4, 32768}, Case{5, 1, 65535}, Case{7, 3, 65535}, Case{9, 4, 65535}}) {
    SCOPED_TRACE(k.format);
    TiledImage image = NewImage(517, 9, k.format);
    EXPECT_EQ(image.channels, k.channels);
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < 517; ++x) {
        int v[4];
        for (int c = 0; c < 4; ++c) v[c] = Sample(x, y, c, k.top);
        WriteChannels(image, x, y, 0, v);
      }
    }
    int bad = 0;
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < 517; ++x) {
        int v[4];
        ReadChannels(image, x, y, 0, v);
        for (int c = 0; c < 4; ++c) {
          bad += v[c] != (c < k.channels ? Sample(x, y, c, k.top) : 0);
        }
      }
    }
    EXPECT_EQ(bad, 0);
    ReleaseTiledImage(image);
  }
}

TEST(TiledImage, ReadsClampAndOutOfRangeWritesChangeNothing) {
  TiledImage image = NewImage(600, 520, 4);
  for (int y = 0; y < 520; ++y) {
    for (int x = 0; x < 600; ++x) {
      const int v[4] = {x, y, x + y, 7};
      WriteChannels(image, x, y, 0, v);
    }
  }
  int v[4];
  ReadChannels(image, -5, -5, 0, v);
  EXPECT_EQ(v[0], 0);
  EXPECT_EQ(v[1], 0);
  ReadChannels(image, 10000, 10000, 0, v);
  EXPECT_EQ(v[0], 599);
  EXPECT_EQ(v[1], 519);
  ReadChannels(image, 3, 4, 99, v);  // level clamped to the 1 x 1 level
  ReadChannels(image, 3, 4, -1, v);  // and to level 0
  EXPECT_EQ(v[0], 3);
  EXPECT_EQ(v[1], 4);

  const int poison[4] = {1, 1, 1, 1};
  WriteChannels(image, -5, -5, 0, poison);
  WriteChannels(image, 600, 0, 0, poison);
  WriteChannels(image, 0, 520, 0, poison);
  WriteChannels(image, 0, 0, 99, poison);
  const float fpoison[4] = {1, 1, 1, 1};
  WriteChannelsFloat(image, -1, 0, 0, fpoison);
  int changed = 0;
  for (int y = 0; y < 520; ++y) {
    for (int x = 0; x < 600; ++x) {
      ReadChannels(image, x, y, 0, v);
      changed += v[0] != x || v[1] != y || v[2] != x + y || v[3] != 7;
    }
  }
  EXPECT_EQ(changed, 0);
  ReleaseTiledImage(image);
}

TEST(TiledImage, PackedWordsAndFloatWritesIntoIntegerStorage) {
  TiledImage bytes = NewImage(2, 1, 3);
  const int v[4] = {0x12, 0x34, 0x56, 0x78};
  WriteChannels(bytes, 1, 0, 0, v);
  EXPECT_EQ(ReadPacked(bytes, 1, 0, 0), 0x12345678u);  // channel 0 in the top byte
  const float in[4] = {-3.0f, 100.5f, 300.0f, std::numeric_limits<float>::quiet_NaN()};
  WriteChannelsFloat(bytes, 0, 0, 0, in);  // rounded, clamped, NaN as 0
  EXPECT_EQ(ReadPacked(bytes, 0, 0, 0), PackChannels(0, 101, 255, 0));

  // Format 7 holds 0..1 in sixteen bits.
  TiledImage fixed = NewImage(1, 1, 7);
  const float unit[4] = {0.0f, 0.5f, 1.0f, 0.0f};
  WriteChannelsFloat(fixed, 0, 0, 0, unit);
  float back[4];
  ReadChannelsFloat(fixed, 0, 0, 0, back);
  EXPECT_NEAR(back[1], 0.5f, 1e-5f);
  EXPECT_FLOAT_EQ(back[2], 1.0f);
  ReleaseTiledImage(bytes);
  ReleaseTiledImage(fixed);
}

// ---- Pyramid

TEST(TiledImagePyramid, SixteenBitLevelOneIsTheKernelSum) {
  // One lit pixel at (4, 4) of an 8 x 8 16-bit image spreads to level 1 with
  // the kernel's weights / 1640: centre 256, next 64 and 16, corners 0.
  TiledImage image = NewImage(8, 8, 1);
  const int lit[4] = {32768, 0, 0, 0};
  WriteChannels(image, 4, 4, 0, lit);
  ASSERT_TRUE(RebuildPyramid(image));
  auto at = [&](int x, int y) {
    int v[4];
    ReadChannels(image, x, y, 1, v);
    return v[0];
  };
  EXPECT_EQ(at(2, 2), 5115);  // 32768 * 256 / 1640
  EXPECT_EQ(at(3, 2), 79);    // 32768 * 4 / 1640
  EXPECT_EQ(at(1, 1), 319);   // 32768 * 16 / 1640
  EXPECT_EQ(at(3, 3), 0);     // corner weight 0
  EXPECT_EQ(at(0, 0), 0);
  EXPECT_EQ(image.pyramidState, kPyramidBuilt);

  // At the edge the clamped reads repeat pixel 0: weights 0 1 4 / 1 16 64 /
  // 4 64 256 all fall on it, 410 of 1640.
  TiledImage edge = NewImage(8, 8, 1);
  const int corner[4] = {16400, 0, 0, 0};
  WriteChannels(edge, 0, 0, 0, corner);
  RebuildPyramid(edge);
  int v[4];
  ReadChannels(edge, 0, 0, 1, v);
  EXPECT_EQ(v[0], 4100);
  ReleaseTiledImage(image);
  ReleaseTiledImage(edge);
}

TEST(TiledImagePyramid, EightBitIsASliverBrighterAndClampsAt255) {
  struct Case {
    int in, out;
  };
  // 1640 / 1630 of the value, truncated; each level is a sliver brighter
  // than the one below.
  for (Case k : {Case{100, 100}, Case{200, 201}, Case{255, 255}, Case{0, 0}}) {
    TiledImage image = NewImage(9, 7, 3);
    for (int y = 0; y < 7; ++y) {
      for (int x = 0; x < 9; ++x) WritePacked(image, x, y, 0, PackChannels(k.in, 1, k.in, 50));
    }
    RebuildPyramid(image);
    EXPECT_EQ(PackedChannel(ReadPacked(image, 0, 0, 1), 0), std::uint32_t(k.out));
    EXPECT_EQ(PackedChannel(ReadPacked(image, 1, 1, 1), 1), 1u);
    EXPECT_EQ(PackedChannel(ReadPacked(image, 1, 1, 1), 2), std::uint32_t(k.out));
    if (k.in == 200) {
      EXPECT_EQ(PackedChannel(ReadPacked(image, 0, 0, 2), 0), 202u);
    }
    ReleaseTiledImage(image);
  }
}

TEST(TiledImagePyramid, FloatAndFixedPointFormatsKeepFlatAreasExact) {
  TiledImage floats = NewImage(21, 13, 9);
  TiledImage fixed = NewImage(21, 13, 2);
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 21; ++x) {
      const float f[4] = {0.5f, 2.0f, 0.0f, 1.0f};
      WriteChannelsFloat(floats, x, y, 0, f);
      const int v[4] = {40000, 0, 0, 0};
      WriteChannels(fixed, x, y, 0, v);
    }
  }
  RebuildPyramid(floats);
  RebuildPyramid(fixed);
  for (int level = 1; level <= floats.lastLevel; ++level) {
    float f[4];
    ReadChannelsFloat(floats, 0, 0, level, f);
    EXPECT_FLOAT_EQ(f[0], 0.5f);
    EXPECT_FLOAT_EQ(f[1], 2.0f);  // over-bright light is kept
    int v[4];
    ReadChannels(fixed, 0, 0, level, v);
    EXPECT_EQ(v[0], 40000);
  }
  ReleaseTiledImage(floats);
  ReleaseTiledImage(fixed);
}

// ---- Scaled copy

TiledImage PatternImage(int w, int h) {
  TiledImage image = NewImage(w, h, 3);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      WritePacked(image, x, y, 0,
                  PackChannels(Sample(x, y, 0, 255), Sample(x, y, 1, 255), y * 3, 9));
    }
  }
  return image;
}

TEST(TiledImageScaledCopy, HalfSizeReadsLevelOneAndTheBiasBlendsTowardsLevelZero) {
  TiledImage source = PatternImage(64, 48);
  TiledImage half = NewImage(32, 24, 3);
  TiledImage sharp = NewImage(32, 24, 3);
  TiledImage blend = NewImage(32, 24, 3);
  CopyScaled(source, half, {0, 0, 64, 48}, {0, 0, 32, 24}, 0.0f);
  CopyScaled(source, sharp, {0, 0, 64, 48}, {0, 0, 32, 24}, 1.0f);
  CopyScaled(source, blend, {0, 0, 64, 48}, {0, 0, 32, 24}, 0.5f);
  int notLevelOne = 0, outside = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 32; ++x) {
      notLevelOne += (ReadPacked(half, x, y, 0) >> 8) != (ReadPacked(source, x, y, 1) >> 8);
      for (int c = 0; c < 3; ++c) {
        const int a = int(PackedChannel(ReadPacked(half, x, y, 0), c));
        const int b = int(PackedChannel(ReadPacked(sharp, x, y, 0), c));
        const int m = int(PackedChannel(ReadPacked(blend, x, y, 0), c));
        outside += m < std::min(a, b) - 1 || m > std::max(a, b) + 1;
      }
    }
  }
  EXPECT_EQ(notLevelOne, 0);
  EXPECT_EQ(outside, 0);
  for (TiledImage* image : {&source, &half, &sharp, &blend}) ReleaseTiledImage(*image);
}

TEST(TiledImageScaledCopy, ScalesBySourceMaximumAndHandlesGreyAndEdgeCases) {
  // 16-bit: 32768 is full, half of it truncates to 127.
  TiledImage deep = NewImage(8, 8, 4);
  TiledImage grey = NewImage(8, 8, 0);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const int v[4] = {32768, 16384, 0, 0};
      WriteChannels(deep, x, y, 0, v);
      const int g[4] = {77, 0, 0, 0};
      WriteChannels(grey, x, y, 0, g);
    }
  }
  TiledImage dest = NewImage(6, 6, 3);
  CopyScaled(deep, dest, {0, 0, 8, 8}, {1, 1, 5, 5}, 0.0f);
  EXPECT_EQ(ReadPacked(dest, 2, 2, 0), PackChannels(255, 127, 0, 255));
  EXPECT_EQ(ReadPacked(dest, 0, 0, 0), 0u);  // outside the destination rectangle
  CopyScaled(grey, dest, {0, 0, 8, 8}, {-3, -3, 20, 20}, 0.0f);  // clipped to the image
  EXPECT_EQ(ReadPacked(dest, 5, 5, 0), PackChannels(77, 77, 77, 255));

  // An empty destination only rebuilds the source's pyramid; an empty source
  // rectangle copies nothing.
  TiledImage fresh = NewImage(8, 8, 3);
  WritePacked(fresh, 0, 0, 0, 0xFFFFFFFFu);
  CopyScaled(fresh, dest, {0, 0, 8, 8}, {2, 2, 2, 9}, 0.0f);
  EXPECT_EQ(fresh.pyramidState, kPyramidBuilt);
  CopyScaled(fresh, dest, {3, 3, 3, 3}, {0, 0, 6, 6}, 0.0f);
  EXPECT_EQ(ReadPacked(dest, 5, 5, 0), PackChannels(77, 77, 77, 255));
  for (TiledImage* image : {&deep, &grey, &dest, &fresh}) ReleaseTiledImage(*image);
}

TEST(TiledImage, LinearToDisplayByteIsASquareRootCurve) {
  EXPECT_EQ(LinearToDisplayByte(0.0f), 0);
  EXPECT_EQ(LinearToDisplayByte(0.25f), 127);
  EXPECT_EQ(LinearToDisplayByte(0.5f), 180);
  EXPECT_EQ(LinearToDisplayByte(1.0f), 255);
  EXPECT_EQ(LinearToDisplayByte(70000.0f), 255);
  EXPECT_EQ(LinearToDisplayByte(-2.0f), 0);
  EXPECT_EQ(LinearToDisplayByte(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(LinearToDisplayByte(std::numeric_limits<float>::infinity()), 255);
}

// ---- Host pixels

// A host whose advanceState serves the requested input rectangle straight
// out of a 16-bit RGB picture, counting the requests.
struct ServingHost {
  static inline ps::FilterRecord* record = nullptr;
  static inline std::vector<std::uint16_t>* picture = nullptr;
  static inline int width = 0;
  static inline int requests = 0;
  static inline int failAt = -1;
  static ps::OSErr Advance() {
    if (requests++ == failAt) return ps::userCanceledErr;
    const ps::Rect16 r = record->inRect;
    record->inData = picture->data() + (r.top * width + r.left) * 3;
    record->inRowBytes = width * 6;
    return ps::noErr;
  }
};

TEST(TiledImage, ReadsTheHostImageInBandsAndPutsTheRequestBack) {
  // 2000 x 100 at 12000 bytes a row takes two bands of at most a megabyte.
  const int w = 2000, h = 100;
  std::vector<std::uint16_t> picture(w * h * 3);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c)
        picture[(y * w + x) * 3 + c] = std::uint16_t(Sample(x, y, c, 32768));
    }
  }
  ps::FilterRecord fr{};
  fr.advanceState = ServingHost::Advance;
  fr.planes = 3;
  fr.depth = 16;
  fr.filterRect = {0, 0, std::int16_t(h), std::int16_t(w)};
  const ps::Rect16 before = {7, 8, 9, 10};
  fr.inRect = fr.outRect = before;
  RenderParams params{};
  InitNewRenderParams(params);
  std::int16_t result = 0;
  Globals g{};
  g.result = &result;
  g.filterRecord = &fr;
  g.params = &params;
  ServingHost::record = &fr;
  ServingHost::picture = &picture;
  ServingHost::width = w;
  ServingHost::requests = 0;
  ServingHost::failAt = -1;

  TiledImage image = NewImage(1990, 95, 4);
  ASSERT_EQ(ReadHostImage(g, {5, 10, 100, 2000}, image), ps::noErr);
  EXPECT_EQ(ServingHost::requests, 2);
  int bad = 0;
  for (int y = 0; y < 95; ++y) {
    for (int x = 0; x < 1990; ++x) {
      int v[4];
      ReadChannels(image, x, y, 0, v);
      for (int c = 0; c < 3; ++c) bad += v[c] != Sample(x + 10, y + 5, c, 32768);
      bad += v[3] != 32768;
    }
  }
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(fr.inRect.top, before.top);
  EXPECT_EQ(fr.inRect.right, before.right);
  EXPECT_EQ(fr.outRect.bottom, before.bottom);

  // A refused request ends the read with the host's status, request restored.
  ServingHost::requests = 0;
  ServingHost::failAt = 1;
  EXPECT_EQ(ReadHostImage(g, {0, 0, 100, 2000}, image), ps::userCanceledErr);
  EXPECT_EQ(fr.inRect.left, before.left);
  fr.advanceState = nullptr;
  EXPECT_EQ(ReadHostImage(g, {0, 0, 100, 2000}, image), ps::paramErr);
  ReleaseTiledImage(image);
}

// ---- Memory

TEST(TiledImageMemory, HostTilesAndHeapTilesAreAllReleased) {
  FakeHost host(3);  // three blocks from the host, the rest from the heap
  TiledImage image;
  InitTiledImage(image, &host.record);
  ASSERT_TRUE(CreateTiledImage(image, 1030, 520, 0));
  EXPECT_EQ(gMemory.outstanding, 3);
  EXPECT_EQ(ReadPacked(image, 1029, 519, 0), PackChannels(0, 0, 0, 255));  // zeroed
  // Creating again releases first.
  ASSERT_TRUE(CreateTiledImage(image, 20, 20, 3));
  EXPECT_LE(gMemory.outstanding, 3);
  ReleaseTiledImage(image);
  ReleaseTiledImage(image);  // releasing an empty image does nothing
  EXPECT_EQ(gMemory.outstanding, 0);
  EXPECT_EQ(image.tileCount, 0);
}

TEST(TiledImageMemory, RunningOutAtAnyBlockLeavesAnEmptyImageAndNothingHeld) {
  // How many blocks (table + tiles) a 1030 x 520 image takes.
  FakeHost counter(1 << 30);
  TiledImage probe = NewImage(1030, 520, 3, &counter.record);
  const int blocks = probe.tileCount + 1;
  ReleaseTiledImage(probe);

  for (int hostBlocks : {0, 2}) {
    for (int heapBlocks = 0; heapBlocks + hostBlocks < blocks; ++heapBlocks) {
      SCOPED_TRACE(testing::Message() << hostBlocks << " host, " << heapBlocks << " heap");
      FakeHost host(hostBlocks);
      gHeapBlocksLeft = heapBlocks;
      TiledImage image;
      InitTiledImage(image, &host.record);
      image.allocateTile = AllocateWithSmallHeap;
      EXPECT_FALSE(CreateTiledImage(image, 1030, 520, 3));
      EXPECT_FALSE(HasPixels(image));
      EXPECT_EQ(image.tiles, nullptr);
      EXPECT_EQ(gMemory.outstanding, 0);
      int v[4];
      ReadChannels(image, 0, 0, 0, v);  // still safe to read
      WriteChannels(image, 0, 0, 0, v);
    }
  }
}

}  // namespace
}  // namespace stellane
