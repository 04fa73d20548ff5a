// Settings files written and read back, hand-built files of old versions,
// and damaged files that must change nothing they cannot read.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "image/TiledImage.h"
#include "params/ParamTable.h"
#include "params/SettingsFile.h"

namespace stellane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A file assembled item by item, the way the tests below spell out old layouts.
struct FileBuilder {
  Bytes bytes;
  FileBuilder& Item(std::int32_t v) {
    const std::uint32_t u = std::uint32_t(v);
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(std::uint8_t(u >> shift));
    return *this;
  }
  FileBuilder& Items(std::initializer_list<std::int32_t> values) {
    for (std::int32_t v : values) Item(v);
    return *this;
  }
  FileBuilder& Raw(const std::uint8_t* data, std::size_t count) {
    bytes.insert(bytes.end(), data, data + count);
    return *this;
  }
};

std::int32_t ItemAt(const Bytes& bytes, int item) {
  const std::size_t at = 4 * std::size_t(item - 1);
  return std::int32_t((std::uint32_t(bytes[at]) << 24) | (std::uint32_t(bytes[at + 1]) << 16) |
                      (std::uint32_t(bytes[at + 2]) << 8) | std::uint32_t(bytes[at + 3]));
}

Bytes Encode(const RenderParams& p, const TiledImage* thumbnail = nullptr) {
  Bytes out(kMaxSettingsFileBytes);
  out.resize(EncodeSettings(p, thumbnail, out.data()));
  return out;
}

SettingsReadResult Read(const Bytes& bytes, RenderParams& p, TiledImage* thumbnail = nullptr,
                        SettingsReadMode mode = SettingsReadMode::Values) {
  return ReadSettingsBytes(bytes.data(), bytes.size(), mode, p, thumbnail);
}

RenderParams Defaults() {
  RenderParams p;
  InitNewRenderParams(p);
  return p;
}

// Every table value set to something unlike its default and unlike its
// neighbours.
RenderParams Distinct() {
  RenderParams p = Defaults();
  int n = 0;
  for (const ParamInfo& row : ParamTable()) {
    ++n;
    if (row.kind == ParamKind::Float)
      SetFloatParam(p, row, 0.01f * float(n) - 0.5f);
    else if (row.kind == ParamKind::Channel)
      SetIntParam(p, row, 65535 - 517 * n);
    else
      SetIntParam(p, row, 1000 * n - 30000);
  }
  return p;
}

bool SameParams(const RenderParams& a, const RenderParams& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// A 128 x 128 thumbnail with a lopsided picture: red grows to the right,
// green downwards, blue only in the top-left quarter.
struct Thumbnail {
  TiledImage image;
  Thumbnail() {
    InitTiledImage(image, nullptr);
    CreateTiledImage(image, kThumbnailSide, kThumbnailSide, 3);
  }
  ~Thumbnail() { ReleaseTiledImage(image); }
  void Paint() {
    for (int y = 0; y < kThumbnailSide; ++y)
      for (int x = 0; x < kThumbnailSide; ++x)
        WritePacked(image, x, y, 0, PackChannels(2 * x, 2 * y, (x < 64 && y < 64) ? 200 : 20, 255));
  }
  int Channel(int x, int y, int c) const {
    return int(PackedChannel(ReadPacked(image, x, y, 0), c));
  }
};

TEST(SettingsFile, RoundTripRestoresEveryTableValue) {
  const RenderParams written = Distinct();
  const Bytes file = Encode(written);
  RenderParams read = Defaults();
  std::strcpy(read.settingsFileName, "kept.q9r");
  const SettingsReadResult result = Read(file, read);

  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.version, 50);
  EXPECT_FALSE(result.thumbnailPresent);
  for (const ParamInfo& row : ParamTable()) {
    if (row.kind == ParamKind::Float)
      EXPECT_NEAR(GetFloatParam(read, row), GetFloatParam(written, row), 0.01) << row.name;
    else
      EXPECT_EQ(GetIntParam(read, row), GetIntParam(written, row)) << row.name;
  }
  EXPECT_STREQ(read.settingsFileName, "kept.q9r");
}

TEST(SettingsFile, VectorsKeepTwoDecimals) {
  RenderParams p = Defaults();
  p.vector1 = {0.2742f, -0.689f, 1.0f};
  p.vector2 = {-1.0f, 0.29f, 0.0f};
  const Bytes file = Encode(p);
  EXPECT_EQ(ItemAt(file, 50), 27);
  EXPECT_EQ(ItemAt(file, 51), -68);  // truncated toward zero
  EXPECT_EQ(ItemAt(file, 52), 100);
  RenderParams read = Defaults();
  Read(file, read);
  EXPECT_FLOAT_EQ(read.vector1.x, 0.27f);
  EXPECT_FLOAT_EQ(read.vector1.y, -0.68f);
  EXPECT_FLOAT_EQ(read.vector2.y, 0.29f);
}

TEST(SettingsFile, VersionFiftyLayout) {
  RenderParams p = Defaults();
  p.glue = 17;
  p.randomSeed = -2;
  p.spareColor2 = {65535, 1, 2};
  p.colorB1 = {10, 11, 12};
  p.spareColor3 = {7, 8, 9};
  const Bytes file = Encode(p);
  ASSERT_EQ(file.size(), 70u * 4);  // 69 items and the empty thumbnail block
  EXPECT_EQ(ItemAt(file, 1), 50);
  EXPECT_EQ(ItemAt(file, 2), 227 * 257);
  EXPECT_EQ(ItemAt(file, 31), 65535);  // channels zero-extended
  EXPECT_EQ(ItemAt(file, 34), 65535);  // spareColor2 twice
  EXPECT_EQ(ItemAt(file, 36), 2);
  EXPECT_EQ(ItemAt(file, 43), 17);
  EXPECT_EQ(ItemAt(file, 44), 1);
  EXPECT_EQ(ItemAt(file, 56), -2);
  EXPECT_EQ(ItemAt(file, 57), 59);
  EXPECT_EQ(ItemAt(file, 58), 1);
  EXPECT_EQ(ItemAt(file, 63), 10);
  EXPECT_EQ(ItemAt(file, 66), 0);
  EXPECT_EQ(ItemAt(file, 69), 9);
  EXPECT_EQ(ItemAt(file, 70), 0);
}

TEST(SettingsFile, VersionOneConvertsOldValues) {
  FileBuilder f;
  f.Item(1);
  f.Items({100, 200, 300, 400, 500, 600, 700, 800, 900});  // colorA1, colorA2, spareColor1
  f.Items({30, 12, 13, 14});                               // spareInt1..4
  f.Items({15, 16});                                       // paramA, density
  f.Items({17, 18, 19, 20});                               // spareInt5..8
  f.Items({21, 22, 23});                                   // brightness, spareInt9, spareInt10
  f.Items({24, 70, 26, 27, 28});  // nebulaScale, texture, contrast, starScale, fibrousness
  f.Items({29, 30});              // spareInt13, spareInt14
  f.Items({1, 2, 3, 4, 5, 6});    // spareColor2 twice
  RenderParams p = Distinct();
  const RenderParams before = p;
  Read(f.bytes, p);

  EXPECT_EQ(p.colorA1.red, 100);
  EXPECT_EQ(p.colorA2.blue, 600);
  EXPECT_EQ(p.spareColor1.blue, 900);
  EXPECT_EQ(p.spareInt2, 12);
  EXPECT_EQ(p.paramA, 15);
  EXPECT_EQ(p.spareInt8, 20);
  EXPECT_EQ(p.spareInt10, 23);
  EXPECT_EQ(p.nebulaScale, 24);
  EXPECT_EQ(p.starScale, 27);
  EXPECT_EQ(p.fibrousness, 28);
  EXPECT_EQ(p.spareInt14, 30);
  // Conversions of old versions.
  EXPECT_EQ(p.texture, 30);
  EXPECT_EQ(p.spareColor2.red, 100);  // = colorA1
  EXPECT_EQ(p.spareColor2.blue, 300);
  EXPECT_EQ(p.color, 100);
  EXPECT_EQ(p.brightness, 50);
  EXPECT_EQ(p.density, 57);
  EXPECT_EQ(p.contrast, 0);
  EXPECT_EQ(p.spareInt12, 50);
  EXPECT_EQ(p.spareInt15, 0);
  EXPECT_EQ(p.spareInt16, 0);
  EXPECT_EQ(p.spareInt1, 100);  // 30 / 0.3
  // What version 1 did not hold stays as it was.
  EXPECT_EQ(p.glue, before.glue);
  EXPECT_EQ(p.depth, before.depth);
  EXPECT_EQ(p.opacity, before.opacity);
  EXPECT_EQ(std::memcmp(&p.vector1, &before.vector1, sizeof p.vector1), 0);
  EXPECT_EQ(std::memcmp(&p.vector2, &before.vector2, sizeof p.vector2), 0);
  EXPECT_EQ(p.randomSeed, before.randomSeed);
  EXPECT_EQ(p.paramB, before.paramB);
  EXPECT_EQ(p.spareInt11, before.spareInt11);
  EXPECT_EQ(p.spareInt17, before.spareInt17);
  EXPECT_EQ(p.spareInt18, before.spareInt18);
  EXPECT_EQ(std::memcmp(&p.spareColor3, &before.spareColor3, sizeof p.spareColor3), 0);
  EXPECT_EQ(std::memcmp(&p.spareColor4, &before.spareColor4, sizeof p.spareColor4), 0);
  EXPECT_EQ(std::memcmp(&p.colorB1, &before.colorB1, sizeof p.colorB1), 0);
  EXPECT_EQ(std::memcmp(&p.colorB2, &before.colorB2, sizeof p.colorB2), 0);
}

TEST(SettingsFile, VersionFourteenInvertsTextureAndKeepsSpareInt17) {
  FileBuilder f;
  f.Item(14);
  f.Items({1, 2, 3, 4, 5, 6, 7, 8, 9});
  f.Items({3, 0, 0, 0, 43, 29, 0, 0, 0, 0, 62, 0, 0});  // spareInt1 .. spareInt10
  f.Items({16, 80, 48, 62, 60, 55, 4});                 // nebulaScale, texture .. spareInt14
  f.Items({9, 9, 9, 9, 9, 9});                          // spareColor2 twice
  f.Items({1, 1, 1, 59, 12, 5});         // spareColor4, spareInt12, depth, spareInt11
  f.Items({33, 1});                      // glue, marker
  f.Items({7, 26, 8});                   // spareInt15, opacity, spareInt16
  f.Items({67, 90});                     // color, spareInt17
  f.Items({10, 20, 30, -40, -50, -60});  // vector1, vector2 (hundredths)
  f.Items({4242, 61});                   // randomSeed, paramB
  RenderParams p = Defaults();
  Read(f.bytes, p);
  EXPECT_EQ(p.texture, 20);
  EXPECT_EQ(p.spareInt17, 90);
  EXPECT_EQ(p.spareInt11, 5);  // no increment from version 11 on
  EXPECT_EQ(p.spareInt12, 50);
  EXPECT_EQ(p.spareInt16, 0);
  EXPECT_EQ(p.spareInt15, 0);
  EXPECT_EQ(p.spareInt1, 10);
  EXPECT_EQ(p.glue, 33);
  EXPECT_EQ(p.color, 67);  // versions from 7 on keep colour and brightness
  EXPECT_EQ(p.brightness, 62);
  EXPECT_EQ(p.spareColor2.red, 9);
  EXPECT_EQ(p.density, 57);
  EXPECT_EQ(p.contrast, 0);
  EXPECT_FLOAT_EQ(p.vector1.z, 0.3f);
  EXPECT_FLOAT_EQ(p.vector2.x, -0.4f);
  EXPECT_EQ(p.randomSeed, 4242);
  EXPECT_EQ(p.paramB, 61);
  EXPECT_EQ(p.colorB1.red, 101 * 257);  // not in version 14
}

TEST(SettingsFile, OldVersionIncrementAndInversions) {
  // Version 10: spareInt11 + 1, spareInt17 inverted, no vectors before 8.
  FileBuilder f;
  f.Item(10);
  for (int i = 0; i < 35; ++i) f.Item(i);  // items 2..36
  f.Items({0, 0, 0, 0, 0, 41});            // spareColor4, spareInt12, depth, spareInt11
  f.Items({5, 1, 0, 0, 0, 70, 25});        // glue, marker, 15, opacity, 16, color, spareInt17
  f.Items({10, 10, 10, 20, 20, 20});       // vectors
  RenderParams p = Defaults();
  Read(f.bytes, p);
  EXPECT_EQ(p.spareInt11, 42);
  EXPECT_EQ(p.spareInt17, 75);
  EXPECT_EQ(p.color, 70);
  EXPECT_FLOAT_EQ(p.vector2.y, 0.2f);
}

TEST(SettingsFile, HostileValuesConvertWithoutOverflow) {
  FileBuilder f;
  f.Item(10);
  f.Items({0, 0, 0, 0, 0, 0, 0, 0, 0});
  f.Item(2147483647);  // spareInt1, divided by 0.3
  for (int i = 0; i < 13; ++i) f.Item(0);
  f.Item(-2147483647 - 1);  // texture, inverted
  for (int i = 0; i < 11; ++i) f.Item(0);
  f.Items({0, 0, 0, 0, 0, 2147483647});  // spareInt11 + 1
  RenderParams p = Defaults();
  Read(f.bytes, p);
  EXPECT_EQ(p.spareInt1, 2147483647);
  EXPECT_EQ(p.texture, -2147483548);  // wraps like the 32-bit arithmetic
  EXPECT_EQ(p.spareInt11, -2147483647 - 1);
}

TEST(SettingsFile, ShortFileKeepsTheUnreadFields) {
  const RenderParams written = Distinct();
  Bytes file = Encode(written);
  file.resize(4 * 20 + 2);  // items 1..20 and half of item 21
  RenderParams read = Defaults();
  Read(file, read);
  EXPECT_EQ(read.spareInt8, written.spareInt8);  // item 20
  EXPECT_EQ(read.brightness, 62);                // item 21, cut
  EXPECT_EQ(read.glue, 1);
  EXPECT_EQ(read.randomSeed, 67676767);
}

TEST(SettingsFile, UnknownVersionsAndEmptyDataChangeNothing) {
  for (std::int32_t version : {0, -1, 51, 1000000}) {
    Bytes file = Encode(Distinct());
    file[0] = std::uint8_t(std::uint32_t(version) >> 24);
    file[1] = std::uint8_t(std::uint32_t(version) >> 16);
    file[2] = std::uint8_t(std::uint32_t(version) >> 8);
    file[3] = std::uint8_t(version);
    RenderParams p = Defaults();
    EXPECT_EQ(Read(file, p).version, 0) << version;
    EXPECT_TRUE(SameParams(p, Defaults())) << version;
  }
  RenderParams p = Defaults();
  EXPECT_EQ(ReadSettingsBytes(nullptr, 0, SettingsReadMode::Values, p, nullptr).version, 0);
  EXPECT_TRUE(SameParams(p, Defaults()));
}

TEST(SettingsFile, ThumbnailRoundTripAndThumbnailOnlyMode) {
  Thumbnail source;
  ASSERT_TRUE(HasPixels(source.image));
  source.Paint();
  const Bytes file = Encode(Distinct(), &source.image);
  ASSERT_GT(file.size(), 70u * 4);
  EXPECT_EQ(ItemAt(file, 70), 1);
  EXPECT_EQ(ItemAt(file, 71), 128);
  EXPECT_EQ(ItemAt(file, 72), 128);
  EXPECT_EQ(std::size_t(ItemAt(file, 73)), file.size() - 73 * 4);

  Thumbnail target;
  RenderParams p = Defaults();
  const SettingsReadResult result = Read(file, p, &target.image, SettingsReadMode::ThumbnailOnly);
  EXPECT_TRUE(result.thumbnailPresent);
  EXPECT_EQ(result.thumbnailWidth, 128);
  EXPECT_EQ(result.thumbnailHeight, 128);
  EXPECT_TRUE(SameParams(p, Defaults()));
  // JPEG is lossy: the picture's layout survives, not every value.
  EXPECT_NEAR(target.Channel(120, 5, 0), 240, 12);
  EXPECT_NEAR(target.Channel(5, 120, 1), 240, 12);
  EXPECT_NEAR(target.Channel(10, 10, 2), 200, 12);
  EXPECT_NEAR(target.Channel(100, 100, 2), 20, 12);
  EXPECT_EQ(target.Channel(50, 50, 3), 255);
}

TEST(SettingsFile, ThumbnailOnlyModeConvertsNothingInOldVersions) {
  FileBuilder f;
  f.Item(1);
  for (int i = 0; i < 35; ++i) f.Item(i + 1);
  RenderParams p = Distinct();
  const RenderParams before = p;
  const SettingsReadResult result = Read(f.bytes, p, nullptr, SettingsReadMode::ThumbnailOnly);
  EXPECT_EQ(result.version, 1);
  EXPECT_FALSE(result.thumbnailPresent);
  EXPECT_TRUE(SameParams(p, before));
}

// A version-30 file: old-style thumbnail of `side`, then spareColor3.
FileBuilder OldThumbnailFile(std::int32_t present, std::int32_t side,
                             const std::vector<std::uint8_t>& rgb) {
  FileBuilder f;
  f.Item(30);
  for (int i = 2; i <= 65; ++i) f.Item(i == 43 ? 5 : 0);  // glue 5
  f.Item(present);
  if (present) {
    f.Items({side, side});
    f.Raw(rgb.data(), rgb.size());
  }
  f.Items({700, 800, 900});  // spareColor3
  return f;
}

TEST(SettingsFile, OldStyleThumbnail) {
  const std::vector<std::uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
  Thumbnail target;
  RenderParams p = Defaults();
  SettingsReadResult result = Read(OldThumbnailFile(1, 2, rgb).bytes, p, &target.image);
  EXPECT_TRUE(result.thumbnailPresent);
  EXPECT_EQ(result.thumbnailWidth, 2);
  EXPECT_EQ(target.Channel(0, 0, 0), 255);
  EXPECT_EQ(target.Channel(1, 0, 1), 255);
  EXPECT_EQ(target.Channel(0, 1, 2), 255);
  EXPECT_EQ(target.Channel(1, 1, 1), 20);
  EXPECT_EQ(p.glue, 5);
  EXPECT_EQ(p.spareColor3.blue, 900);

  // Without a thumbnail, the values after it are still found.
  p = Defaults();
  result = Read(OldThumbnailFile(0, 0, {}).bytes, p);
  EXPECT_FALSE(result.thumbnailPresent);
  EXPECT_EQ(p.spareColor3.red, 700);

  // A side that makes no image passes over 12288 bytes.
  p = Defaults();
  result = Read(OldThumbnailFile(1, -5, std::vector<std::uint8_t>(12288, 1)).bytes, p);
  EXPECT_FALSE(result.thumbnailPresent);
  EXPECT_EQ(p.spareColor3.green, 800);

  // A side beyond 128 is clamped: 128 x 128 x 3 bytes follow.
  p = Defaults();
  result =
      Read(OldThumbnailFile(1, 5000, std::vector<std::uint8_t>(49152, 7)).bytes, p, &target.image);
  EXPECT_TRUE(result.thumbnailPresent);
  EXPECT_EQ(result.thumbnailWidth, 128);
  EXPECT_EQ(target.Channel(127, 127, 0), 7);
  EXPECT_EQ(p.spareColor3.red, 700);

  // Pixels cut short: no thumbnail, nothing after it read.
  p = Defaults();
  result = Read(OldThumbnailFile(1, 100, std::vector<std::uint8_t>(500, 7)).bytes, p);
  EXPECT_FALSE(result.thumbnailPresent);
  EXPECT_EQ(p.spareColor3.red, 28835);
}

TEST(SettingsFile, DamagedThumbnailBlocksAreRefused) {
  Thumbnail source;
  source.Paint();
  const Bytes good = Encode(Distinct(), &source.image);
  const std::int32_t count = ItemAt(good, 73);
  auto withHeader = [&](std::int32_t w, std::int32_t h, std::int32_t n, std::size_t keep) {
    FileBuilder f;
    f.bytes.assign(good.begin(), good.begin() + 69 * 4);
    f.Items({1, w, h, n});
    f.Raw(good.data() + 73 * 4, std::min<std::size_t>(keep, std::size_t(count)));
    return f.bytes;
  };
  const struct {
    const char* what;
    Bytes file;
  } cases[] = {
      {"negative count", withHeader(128, 128, -1, 0)},
      {"count above 49152", withHeader(128, 128, 49153, std::size_t(count))},
      {"count beyond the data", withHeader(128, 128, count + 10, std::size_t(count))},
      {"truncated JPEG", withHeader(128, 128, count / 2, std::size_t(count / 2))},
      {"zero width", withHeader(0, 128, count, std::size_t(count))},
      {"negative height", withHeader(128, -7, count, std::size_t(count))},
      {"file ends in the header", Bytes(good.begin(), good.begin() + 71 * 4 + 1)},
  };
  for (const auto& c : cases) {
    Thumbnail target;
    RenderParams p = Defaults();
    const SettingsReadResult result = Read(c.file, p, &target.image);
    EXPECT_FALSE(result.thumbnailPresent) << c.what;
    EXPECT_EQ(p.randomSeed, Distinct().randomSeed) << c.what;  // values before it are read
  }
  // Garbage in place of the JPEG.
  Bytes garbage = good;
  for (std::size_t i = 73 * 4; i < garbage.size(); ++i) garbage[i] = std::uint8_t(i * 37);
  RenderParams p = Defaults();
  EXPECT_FALSE(Read(garbage, p).thumbnailPresent);
  // Huge declared sides are clamped to the 128 x 128 thumbnail.
  Thumbnail target;
  p = Defaults();
  const SettingsReadResult result =
      Read(withHeader(2147483647, 2147483647, count, std::size_t(count)), p, &target.image);
  EXPECT_TRUE(result.thumbnailPresent);
  EXPECT_EQ(result.thumbnailWidth, 128);
  EXPECT_EQ(result.thumbnailHeight, 128);
}

TEST(SettingsFile, RandomDamageNeverReadsOutsideTheData) {
  Thumbnail source;
  source.Paint();
  const Bytes good = Encode(Distinct(), &source.image);
  std::uint32_t state = 12345;
  auto next = [&state] { return state = state * 1103515245u + 12345u; };
  for (int trial = 0; trial < 200; ++trial) {
    Bytes file(good.begin(), good.begin() + (next() >> 8) % (good.size() + 1));
    for (int flips = 0; flips < 8 && !file.empty(); ++flips)
      file[(next() >> 8) % file.size()] = std::uint8_t(next() >> 16);
    Thumbnail target;
    RenderParams p = Defaults();
    Read(file, p, &target.image);
    Read(file, p, &target.image, SettingsReadMode::ThumbnailOnly);
  }
}

}  // namespace
}  // namespace stellane
