// Settings files written and read back, hand-built files of old versions,
// and damaged files that must change nothing they cannot read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "image/TiledImage.h"
#include "params/ParamTable.h"
#include "params/SettingsFile.h"

namespace stellane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A file assembled item by item, the way the tests spell out old layouts.
struct FileBuilder {
  Bytes bytes;
  FileBuilder& Items(std::initializer_list<std::int32_t> values, int times = 1) {
    for (int i = 0; i < times; ++i)
      for (std::int32_t v : values)
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(std::uint8_t(v >> shift));
    return *this;
  }
};

std::int32_t ItemAt(const Bytes& b, int item) {
  const std::size_t at = 4 * std::size_t(item - 1);
  return std::int32_t(std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 |
                      std::uint32_t(b[at + 2]) << 8 | b[at + 3]);
}

Bytes Encode(const RenderParams& p, const TiledImage* thumbnail = nullptr) {
  Bytes out(kMaxSettingsFileBytes);
  out.resize(EncodeSettings(p, thumbnail, out.data()));
  return out;
}

SettingsReadResult Read(const Bytes& b, RenderParams& p, TiledImage* thumbnail = nullptr,
                        SettingsReadMode mode = SettingsReadMode::Values) {
  return ReadSettingsBytes(b.data(), b.size(), mode, p, thumbnail);
}

RenderParams Defaults() {
  RenderParams p;
  InitNewRenderParams(p);
  return p;
}

// Every table value unlike its default and its neighbours.
RenderParams Distinct() {
  RenderParams p = Defaults();
  int n = 0;
  for (const ParamInfo& row : ParamTable()) {
    ++n;
    if (row.kind == ParamKind::Float)
      SetFloatParam(p, row, 0.01f * float(n) - 0.5f);
    else
      SetIntParam(p, row, row.kind == ParamKind::Channel ? 65535 - 517 * n : 1000 * n - 30000);
  }
  return p;
}

using Ints = std::vector<std::int32_t>;

bool Same(const RenderParams& a, const RenderParams& b) { return !std::memcmp(&a, &b, sizeof a); }

// A 128 x 128 thumbnail: red grows to the right, green downwards, blue only
// in the top-left quarter.
struct Thumbnail {
  TiledImage image;
  explicit Thumbnail(bool paint = false) {
    InitTiledImage(image);
    CreateTiledImage(image, kThumbnailSide, kThumbnailSide, 3);
    for (int y = 0; paint && y < kThumbnailSide; ++y)
      for (int x = 0; x < kThumbnailSide; ++x)
        WritePacked(image, x, y, 0, PackChannels(2 * x, 2 * y, x < 64 && y < 64 ? 200 : 20, 255));
  }
  ~Thumbnail() { ReleaseTiledImage(image); }
  int At(int x, int y, int c) const { return int(PackedChannel(ReadPacked(image, x, y, 0), c)); }
};

TEST(SettingsFile, RoundTripAndVersionFiftyLayout) {
  RenderParams written = Distinct();
  written.vector1 = {0.2742f, -0.689f, 1.0f};
  const Bytes file = Encode(written);
  ASSERT_EQ(file.size(), 70u * 4);  // 69 items and the empty thumbnail block
  const std::pair<int, std::int32_t> items[] = {{1, 50},
                                                {2, written.colorA1.red},
                                                {34, written.spareColor2.red},
                                                {43, written.glue},
                                                {44, 1},
                                                {50, 27},
                                                {51, -68},
                                                /* truncated */ {56, written.randomSeed},
                                                {58, 1},
                                                {66, 0},
                                                {69, written.spareColor3.blue},
                                                {70, 0}};
  for (auto [item, value] : items) EXPECT_EQ(ItemAt(file, item), value) << item;

  RenderParams read = Defaults();
  std::strcpy(read.settingsFileName, "kept.q9r");
  const SettingsReadResult result = Read(file, read);
  EXPECT_EQ(result.version, 50);
  EXPECT_FALSE(result.thumbnailPresent);
  for (const ParamInfo& row : ParamTable()) {
    if (row.kind == ParamKind::Float)
      EXPECT_NEAR(GetFloatParam(read, row), GetFloatParam(written, row), 0.01) << row.name;
    else
      EXPECT_EQ(GetIntParam(read, row), GetIntParam(written, row)) << row.name;
  }
  EXPECT_FLOAT_EQ(read.vector1.x, 0.27f);
  EXPECT_STREQ(read.settingsFileName, "kept.q9r");
}

TEST(SettingsFile, VersionOneConvertsOldValues) {
  FileBuilder f;
  f.Items({1, 100, 200, 300, 400, 500, 600, 700, 800, 900});  // colorA1, colorA2, spareColor1
  f.Items({30, 12, 13, 14, 15, 16, 17, 18, 19, 20});          // spareInt1..4, paramA, density, 5..8
  f.Items({21, 22, 23, 24, 70, 26, 27, 28, 29, 30});          // brightness .. spareInt14
  f.Items({1, 2, 3, 4, 5, 6});                                // spareColor2 twice
  RenderParams p = Distinct();
  const RenderParams before = p;
  Read(f.bytes, p);
  EXPECT_EQ(Ints({p.colorA1.red, p.spareColor1.blue, p.paramA, p.fibrousness, p.spareInt14}),
            Ints({100, 900, 15, 28, 30}));
  // Conversions: texture 100 - 70, spareColor2 = colorA1, spareInt1 30 / 0.3.
  EXPECT_EQ(Ints({p.texture, p.spareColor2.red, p.color, p.brightness, p.density, p.contrast,
                  p.spareInt12, p.spareInt15, p.spareInt16, p.spareInt1}),
            Ints({30, 100, 100, 50, 57, 0, 50, 0, 0, 100}));
  // What version 1 did not hold stays as it was.
  for (auto field : {&RenderParams::glue, &RenderParams::depth, &RenderParams::opacity,
                     &RenderParams::randomSeed, &RenderParams::paramB, &RenderParams::spareInt11,
                     &RenderParams::spareInt17, &RenderParams::spareInt18})
    EXPECT_EQ(p.*field, before.*field);
  for (auto color : {&RenderParams::spareColor3, &RenderParams::spareColor4, &RenderParams::colorB1,
                     &RenderParams::colorB2})
    EXPECT_EQ(std::memcmp(&(p.*color), &(before.*color), sizeof(Color16)), 0);
  for (auto vector : {&RenderParams::vector1, &RenderParams::vector2})
    EXPECT_EQ(std::memcmp(&(p.*vector), &(before.*vector), sizeof(Vector3f)), 0);
}

TEST(SettingsFile, VersionFourteenInvertsTextureAndKeepsSpareInt17) {
  FileBuilder f;
  f.Items({14}).Items({1}, 9);
  f.Items({3}).Items({0}, 12);                // spareInt1 .. spareInt10
  f.Items({16, 80, 48, 62, 60, 55, 4});       // nebulaScale, texture .. spareInt14
  f.Items({9}, 9).Items({59, 12, 5, 33, 1});  // spareColor2 x2, spareColor4, .., glue, marker
  f.Items({7, 26, 8, 67, 90});                // spareInt15, opacity, spareInt16, color, spareInt17
  f.Items({10, 20, 30, -40, -50, -60, 4242, 61});  // vectors, randomSeed, paramB
  RenderParams p = Defaults();
  Read(f.bytes, p);
  // spareInt11 without the increment (from version 11 on); colorB1 not in version 14.
  EXPECT_EQ(
      Ints({p.texture, p.spareInt17, p.spareInt11, p.spareInt1, p.glue, p.paramB, p.colorB1.red}),
      Ints({20, 90, 5, 10, 33, 61, 101 * 257}));
  EXPECT_FLOAT_EQ(p.vector2.x, -0.4f);
}

TEST(SettingsFile, HostileValuesConvertWithoutOverflow) {
  FileBuilder f;
  f.Items({10}).Items({0}, 9).Items({2147483647}).Items({0}, 13);  // spareInt1 / 0.3
  f.Items({-2147483647 - 1}).Items({0}, 11);                       // texture inverted
  f.Items({0}, 5).Items({2147483647});                             // spareInt11 + 1
  RenderParams p = Defaults();
  Read(f.bytes, p);
  // spareInt1 saturated; texture and spareInt11 wrap like 32-bit arithmetic.
  EXPECT_EQ(Ints({p.spareInt1, p.texture, p.spareInt11}),
            Ints({2147483647, -2147483548, -2147483647 - 1}));
}

TEST(SettingsFile, ShortFilesAndUnknownVersionsKeepWhatTheyCannotGive) {
  Bytes file = Encode(Distinct());
  file.resize(4 * 20 + 2);  // items 1..20 and half of item 21
  RenderParams p = Defaults();
  Read(file, p);
  EXPECT_EQ(p.spareInt8, Distinct().spareInt8);  // item 20
  EXPECT_EQ(p.brightness, 62);                   // item 21, cut
  for (std::int32_t version : {0, -1, 51}) {
    file = FileBuilder().Items({version}).Items({5}, 68).bytes;
    p = Defaults();
    EXPECT_EQ(Read(file, p).version, 0) << version;
    EXPECT_TRUE(Same(p, Defaults())) << version;
  }
  EXPECT_EQ(ReadSettingsBytes(nullptr, 0, SettingsReadMode::Values, p, nullptr).version, 0);
}

TEST(SettingsFile, ThumbnailRoundTripInThumbnailOnlyMode) {
  Thumbnail source(true), target;
  const Bytes file = Encode(Distinct(), &source.image);
  EXPECT_EQ(ItemAt(file, 70), 1);
  EXPECT_EQ(ItemAt(file, 71), 128);
  EXPECT_EQ(std::size_t(ItemAt(file, 73)), file.size() - 73 * 4);
  RenderParams p = Defaults();
  const SettingsReadResult result = Read(file, p, &target.image, SettingsReadMode::ThumbnailOnly);
  EXPECT_TRUE(result.thumbnailPresent);
  EXPECT_EQ(result.thumbnailHeight, 128);
  EXPECT_TRUE(Same(p, Defaults()));
  EXPECT_NEAR(target.At(120, 5, 0), 240, 12);  // JPEG keeps the layout, not every value
  EXPECT_NEAR(target.At(5, 120, 1), 240, 12);
  EXPECT_NEAR(target.At(10, 10, 2), 200, 12);
  EXPECT_NEAR(target.At(100, 100, 2), 20, 12);
  // Old versions are not converted either.
  p = Distinct();
  Read(FileBuilder().Items({1}).Items({3}, 35).bytes, p, nullptr, SettingsReadMode::ThumbnailOnly);
  EXPECT_TRUE(Same(p, Distinct()));
}

TEST(SettingsFile, OldStyleThumbnail) {
  // Version 30: items 2..65, the old-style thumbnail, then spareColor3.
  auto file = [](std::initializer_list<std::int32_t> header, std::size_t pixelBytes) {
    FileBuilder f;
    f.Items({30}).Items({0}, 64).Items(header);
    for (std::size_t i = 0; i < pixelBytes; ++i) f.bytes.push_back(std::uint8_t(i * 10));
    return f.Items({700, 800, 900}).bytes;
  };
  Thumbnail target;
  RenderParams p = Defaults();
  SettingsReadResult result = Read(file({1, 2, 2}, 12), p, &target.image);
  EXPECT_TRUE(result.thumbnailPresent);
  EXPECT_EQ(result.thumbnailWidth, 2);
  EXPECT_EQ(target.At(1, 0, 0), 30);  // rows from the top, red green blue
  EXPECT_EQ(target.At(0, 1, 2), 80);
  EXPECT_EQ(p.spareColor3.blue, 900);
  p = Defaults();  // no image: its 12288 bytes passed over
  EXPECT_FALSE(Read(file({1, -5, 0}, 12288), p).thumbnailPresent);
  EXPECT_EQ(p.spareColor3.red, 700);
  p = Defaults();  // pixels cut short: no thumbnail and nothing after it
  EXPECT_FALSE(Read(file({1, 100, 100}, 500), p).thumbnailPresent);
  EXPECT_EQ(p.spareColor3.red, 28835);
}

TEST(SettingsFile, DamagedThumbnailBlocksAreRefused) {
  Thumbnail source(true);
  const Bytes good = Encode(Distinct(), &source.image);
  const std::int32_t count = ItemAt(good, 73);
  auto block = [&](std::int32_t w, std::int32_t h, std::int32_t n, std::int32_t keep) {
    FileBuilder f;
    f.bytes.assign(good.begin(), good.begin() + 69 * 4);
    f.Items({1, w, h, n});
    f.bytes.insert(f.bytes.end(), good.begin() + 73 * 4,
                   good.begin() + 73 * 4 + std::min(keep, count));
    // Zeros after the end marker, which a JPEG reader passes over.
    f.bytes.resize(f.bytes.size() + std::size_t(std::max(0, keep - count)));
    return f.bytes;
  };
  Bytes garbage = good;
  for (std::size_t i = 73 * 4; i < garbage.size(); ++i) garbage[i] = std::uint8_t(i * 37);
  // One of each kind of damage (the fuzzer tries the rest): a count past
  // the data, a side of 0, the block's header cut, JPEG data that is noise.
  const Bytes damaged[] = {block(128, 128, count + 9, count), block(0, 128, count, count),
                           Bytes(good.begin(), good.begin() + 71 * 4 + 1), garbage};
  for (const Bytes& file : damaged) {
    Thumbnail target;
    RenderParams p = Defaults();
    EXPECT_FALSE(Read(file, p, &target.image).thumbnailPresent);
    EXPECT_EQ(p.randomSeed, Distinct().randomSeed);  // the values before it are read
  }
  Thumbnail target;  // huge declared sides are clamped to the thumbnail
  RenderParams p = Defaults();
  const SettingsReadResult r = Read(block(1 << 30, 1 << 30, count, count), p, &target.image);
  EXPECT_TRUE(r.thumbnailPresent);
  EXPECT_EQ(r.thumbnailWidth, 128);
}

}  // namespace
}  // namespace stellane
