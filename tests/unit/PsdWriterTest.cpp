// The PSD writer on a small asymmetric picture, read back by our own reader:
// the sections by depth, PackBits against raw, the merged picture over the
// checkerboard, and the resources' bytes.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "../integration/ExportPsdReader.h"
#include "export/PackBits.h"
#include "export/PsdWriter.h"
#include "image/TiledImage.h"

namespace stellane {
namespace {

using testing::PsdBytes;
using testing::PsdRead;
using testing::ReadPsd;

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
        const float v[4] = {x / 19.0f, y / 11.0f, (x * y % 7) / 6.0f,
                            x < 4    ? 1.0f
                            : x > 14 ? 0.0f
                                     : 0.5f};
        float scaled[4];
        for (int c = 0; c < 4; ++c) scaled[c] = v[c] * image.maxValue;
        WriteChannelsFloat(image, x, y, 0, scaled);
      }
  }
  ~Picture() { ReleaseTiledImage(image); }
  PsdRead Read(bool packBits) const {
    PsdExtras extras{nullptr, 0, "20261206", packBits};
    PsdBytes bytes;
    ByteSink sink = MemorySink(bytes);
    EXPECT_EQ(WritePsd(job, image, extras, sink), PsdWriteStatus::kOk);
    PsdRead f = ReadPsd(bytes);
    EXPECT_EQ(f.error, "");
    return f;
  }
};

TEST(PsdWriter, SectionsByDepthRawAndPackBitsAlike) {
  const std::vector<std::uint16_t> ids = {1005, 1011, 1016, 1035, 1028, 1058, 1024, 1026};
  std::vector<std::uint16_t> floatIds = ids;
  floatIds.insert(floatIds.begin() + 6, {1069, 1072});
  const struct {
    int bytes;
    std::uint16_t channels, packed;  // merged channels, compression asked for PackBits
    std::vector<std::string> keys;
    std::vector<std::uint16_t> ids;
  } cases[] = {
      {1, 3, 1, {}, ids}, {2, 4, 1, {"Mt16", "Lr16"}, ids}, {4, 3, 0, {"Mt32", "Lr32"}, floatIds}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    Picture p(c.bytes);
    const PsdRead raw = p.Read(false), f = p.Read(true);
    // Channels, depth, mode 3 (RGB), width and height.
    EXPECT_EQ(std::vector<std::uint32_t>({f.channels, f.depth, f.mode, f.width, f.height}),
              std::vector<std::uint32_t>({c.channels, 8u * c.bytes, 3, 19, 11}));
    // Float files carry the HDR toning block, named "Default".
    const std::string modeData(f.colourModeData.begin(), f.colourModeData.end());
    EXPECT_EQ(modeData.size(), c.bytes == 4 ? 74u : 0u);
    EXPECT_EQ(modeData.substr(0, 4), c.bytes == 4 ? "hdrt" : "");
    EXPECT_EQ(modeData.find("Default") != std::string::npos, c.bytes == 4);
    EXPECT_EQ(f.additionalKeys, c.keys);
    EXPECT_EQ(f.ResourceIds(), c.ids);
    EXPECT_EQ(f.layerName + " " + f.blendKey + " " + std::to_string(f.opacity), "layer 1 norm 255");
    EXPECT_EQ(f.mergedChannels.size(), c.channels);
    EXPECT_EQ(f.mergedCompression, c.packed);
    EXPECT_EQ(f.layerCompression, std::vector<std::uint16_t>(4, c.packed));
    EXPECT_EQ(raw.mergedCompression, 0);
    EXPECT_EQ(raw.layerChannels, f.layerChannels);
    EXPECT_EQ(raw.mergedChannels, f.mergedChannels);
    // Alpha (channel -1) first: the export's tests compare the channels with the render.
    EXPECT_EQ(f.channelIds, (std::vector<std::int16_t>{-1, 0, 1, 2}));
  }
}

TEST(PsdWriter, MergedPictureLiesOverTheCheckerboard) {
  // Opaque columns show the colour itself, clear ones the board of 8 x 8
  // squares of 204 and 255 that change at x = 8 and y = 8.
  const PsdRead f = Picture(1).Read(true), g = Picture(4).Read(true), h = Picture(2).Read(true);
  ASSERT_TRUE(f.error.empty() && g.error.empty() && h.error.empty());
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(f.Sample(f.mergedChannels[c], 2, 9), f.Sample(f.layerChannels[c + 1], 2, 9));
    EXPECT_EQ(f.Sample(f.mergedChannels[c], 16, 9), 204u);  // x ^ y has bit 3
    EXPECT_EQ(f.Sample(f.mergedChannels[c], 16, 2), 255u);
  }
  EXPECT_EQ(g.FloatSample(g.mergedChannels[0], 16, 9), 0.8f);
  EXPECT_EQ(g.FloatSample(g.mergedChannels[0], 16, 2), 1.0f);
  // Half transparent: halfway between colour and board.
  EXPECT_NEAR(g.FloatSample(g.mergedChannels[2], 8, 1), 0.5f * 0.8f + 0.5f * (8 % 7) / 6.0f, 1e-6);
  // 16-bit: no board, the transparency kept as a fourth channel.
  EXPECT_EQ(h.mergedChannels[3], h.layerChannels[0]);
  EXPECT_EQ(h.mergedChannels[0], h.layerChannels[1]);
}

TEST(PsdWriter, ResourceBytes) {
  const PsdRead f = Picture(1).Read(false);
  ASSERT_EQ(f.error, "");
  const std::pair<std::uint16_t, PsdBytes> fixed[] = {
      {1005, {0, 72, 0, 0, 0, 1, 0, 1, 0, 72, 0, 0, 0, 1, 0, 1}},  // 72 dpi, shown in inches
      {1011, {0, 0, 0, 0, 0, 0, 0, 0, 1}},                         // print flags
      {1024, {0, 1}},                                              // target layer
      {1026, {0, 0}}};                                             // one layer, no group
  for (const auto& [id, bytes] : fixed) EXPECT_EQ(f.Resource(id)->data, bytes) << id;
  // Four identity transfer functions: 0, eleven unset points, 1000, no override.
  PsdBytes transfer = {0, 0};
  transfer.insert(transfer.end(), 22, 0xFF);
  transfer.insert(transfer.end(), {0x03, 0xE8, 0, 0});
  PsdBytes four;
  for (int i = 0; i < 4; ++i) four.insert(four.end(), transfer.begin(), transfer.end());
  EXPECT_EQ(f.Resource(1016)->data, four);

  // IPTC: version 2, then source, date (2:55), caption and keyword (2:25).
  const std::string iptc(f.Resource(1028)->data.begin(), f.Resource(1028)->data.end());
  EXPECT_EQ(iptc.substr(0, 7), std::string("\x1C\x02\x00\x00\x02\x00\x02", 7));
  const std::size_t date = iptc.find("20261206");
  ASSERT_NE(date, std::string::npos);
  EXPECT_EQ(iptc.substr(date - 5, 5), std::string("\x1C\x02\x37\x00\x08", 5));
  EXPECT_LT(iptc.find("https://"), date);
  EXPECT_LT(date, iptc.find("Made with Stellane"));
  EXPECT_EQ(iptc.substr(iptc.size() - 13), std::string("\x1C\x02\x19\x00\x08Stellane", 13));

  // Exif: big-endian TIFF whose one tag, 305 (software), holds "Stellane" and its zero.
  const std::string exif(f.Resource(1058)->data.begin(), f.Resource(1058)->data.end());
  EXPECT_EQ(exif.substr(0, 8), std::string("Exif\0\0MM", 8));
  EXPECT_EQ(exif.substr(16, 8), std::string("\x01\x31\x00\x02\x00\x00\x00\x09", 8));
  EXPECT_EQ(exif.substr(6 + std::uint8_t(exif[27]), 9), std::string("Stellane\0", 9));
}

TEST(PsdWriter, FailedSinkIsReported) {
  Picture p(1);
  ByteSink sink{};  // neither memory nor file
  const PsdExtras extras{nullptr, 0, "20261206", true};
  EXPECT_EQ(WritePsd(p.job, p.image, extras, sink), PsdWriteStatus::kWriteFailed);
}

TEST(PackBits, RoundTripsRunsLiteralsAndTheirLimits) {
  std::mt19937 random(5);
  std::vector<PsdBytes> inputs = {{},
                                  {7},
                                  {1, 1},
                                  {1, 1, 1},
                                  PsdBytes(128, 9),
                                  PsdBytes(129, 9),
                                  PsdBytes(300, 0),
                                  PsdBytes(1000),
                                  PsdBytes(2000)};
  for (auto& b : inputs[7]) b = std::uint8_t(random());
  for (std::size_t i = 0; i < 2000; ++i)  // runs broken by literals
    inputs[8][i] = std::uint8_t(random() % 4 ? i / 50 : random());
  for (const PsdBytes& in : inputs) {
    PsdBytes coded(PackBitsBound(in.size()));
    coded.resize(PackBitsEncode(in.data(), in.size(), coded.data()));
    for (std::size_t i = 0; i < coded.size();) {  // never the no-op header -128
      const int n = static_cast<std::int8_t>(coded[i]);
      ASSERT_NE(n, -128);
      i += n >= 0 ? std::size_t(n) + 2 : 2;
    }
    PsdBytes out;
    ASSERT_TRUE(testing::UnpackBits(coded, in.size(), out)) << in.size();
    EXPECT_EQ(out, in);
    // Long runs shrink to two bytes per 128: 128 + 128 + 44 zeros.
    if (in.size() == 300) {
      EXPECT_EQ(coded, (PsdBytes{0x81, 0, 0x81, 0, 0xD5, 0}));
    }
  }
}

}  // namespace
}  // namespace stellane
