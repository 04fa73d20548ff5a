// The PSD writer on small synthetic pictures, read back by our own reader:
// the layout and every length, the resources' bytes, PackBits against raw,
// and the job's depth by the host image.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "../integration/ExportPsdReader.h"
#include "export/PackBits.h"
#include "export/PsdWriter.h"
#include "image/TiledImage.h"

namespace stellane {
namespace {

using testing::PsdRead;
using testing::ReadPsd;

// An asymmetric picture: every channel differs along x and y, alpha has
// opaque, clear and partial areas.
struct Picture {
  TiledImage image;
  PsdJob job{4, 1, 19, 11, 3, 1};
  explicit Picture(std::int32_t bytesPerChannel, std::int32_t width = 19,
                   std::int32_t height = 11) {
    job.bytesPerChannel = bytesPerChannel;
    job.width = width;
    job.height = height;
    InitTiledImage(image, nullptr);
    EXPECT_TRUE(CreateTiledImage(image, width, height, PsdImageFormat(job)));
    for (std::int32_t y = 0; y < height; ++y) {
      for (std::int32_t x = 0; x < width; ++x) {
        const float v[4] = {x / float(width), y / float(height), (x * y % 7) / 6.0f,
                            x < 4    ? 1.0f
                            : x > 14 ? 0.0f
                                     : 0.5f};
        float scaled[4];
        for (int c = 0; c < 4; ++c) scaled[c] = v[c] * image.maxValue;
        WriteChannelsFloat(image, x, y, 0, scaled);
      }
    }
  }
  ~Picture() { ReleaseTiledImage(image); }
};

PsdExtras Extras(bool packBits) {
  PsdExtras e{nullptr, 0, {}, packBits};
  std::memcpy(e.date, "20261206", 9);
  return e;
}

std::vector<std::uint8_t> Write(const Picture& p, const PsdExtras& extras) {
  std::vector<std::uint8_t> bytes;
  ByteSink sink = MemorySink(bytes);
  EXPECT_EQ(WritePsd(p.job, p.image, extras, sink), PsdWriteStatus::kOk);
  return bytes;
}

TEST(PsdWriter, RawAndPackBitsHoldTheSamePixelsAtEveryIntegerDepth) {
  for (int bytes : {1, 2}) {
    SCOPED_TRACE(bytes);
    Picture p(bytes);
    const PsdRead raw = ReadPsd(Write(p, Extras(false)));
    const PsdRead packed = ReadPsd(Write(p, Extras(true)));
    ASSERT_EQ(raw.error, "");
    ASSERT_EQ(packed.error, "");
    EXPECT_EQ(raw.mergedCompression, 0);
    EXPECT_EQ(packed.mergedCompression, 1);
    EXPECT_EQ(packed.layerCompression, (std::vector<std::uint16_t>{1, 1, 1, 1}));
    EXPECT_EQ(raw.layerChannels, packed.layerChannels);
    EXPECT_EQ(raw.mergedChannels, packed.mergedChannels);
    // Uncompressed, a layer channel is its pixels plus the compression word.
    for (const auto& channel : raw.layerChannels) {
      EXPECT_EQ(channel.size(), std::size_t(19 * 11 * bytes));
    }
    // Channel -1 (alpha) first; alpha and colour as the picture holds them.
    ASSERT_EQ(raw.channelIds, (std::vector<std::int16_t>{-1, 0, 1, 2}));
    const std::uint32_t full = bytes == 1 ? 255 : 65535;
    EXPECT_EQ(raw.Sample(raw.layerChannels[0], 0, 5), full);
    EXPECT_EQ(raw.Sample(raw.layerChannels[0], 18, 5), 0u);
    EXPECT_EQ(raw.Sample(raw.layerChannels[1], 0, 3), 0u);  // red grows along x
    EXPECT_GT(raw.Sample(raw.layerChannels[1], 18, 3), raw.Sample(raw.layerChannels[1], 9, 3));
    EXPECT_GT(raw.Sample(raw.layerChannels[2], 3, 10), raw.Sample(raw.layerChannels[2], 3, 1));
  }
}

TEST(PsdWriter, HeaderAndSectionsByDepth) {
  struct Case {
    int bytes;
    std::uint16_t channels, depth;
    std::uint32_t colourModeBytes;
    std::vector<std::string> keys;
    std::vector<std::uint16_t> ids;
  };
  const std::vector<Case> cases = {
      {1, 3, 8, 0, {}, {1005, 1011, 1016, 1035, 1028, 1058, 1024, 1026}},
      {2, 4, 16, 0, {"Mt16", "Lr16"}, {1005, 1011, 1016, 1035, 1028, 1058, 1024, 1026}},
      {4,
       3,
       32,
       74,
       {"Mt32", "Lr32"},
       {1005, 1011, 1016, 1035, 1028, 1058, 1069, 1072, 1024, 1026}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    Picture p(c.bytes);
    const PsdRead f = ReadPsd(Write(p, Extras(true)));
    ASSERT_EQ(f.error, "");
    EXPECT_EQ(f.channels, c.channels);
    EXPECT_EQ(f.depth, c.depth);
    EXPECT_EQ(f.mode, 3);
    EXPECT_EQ(f.width, 19u);
    EXPECT_EQ(f.height, 11u);
    EXPECT_EQ(f.colourModeData.size(), c.colourModeBytes);
    if (c.colourModeBytes) {
      EXPECT_EQ(std::string(f.colourModeData.begin(), f.colourModeData.begin() + 4), "hdrt");
      EXPECT_NE(
          std::search(f.colourModeData.begin(), f.colourModeData.end(), "Default", "Default" + 7),
          f.colourModeData.end());
    }
    EXPECT_EQ(f.additionalKeys, c.keys);
    EXPECT_EQ(f.ResourceIds(), c.ids);
    EXPECT_EQ(f.layerName, "layer 1");
    EXPECT_EQ(f.blendKey, "norm");
    EXPECT_EQ(f.opacity, 255);
    EXPECT_EQ(f.bottom, 11);
    EXPECT_EQ(f.right, 19);
    EXPECT_EQ(f.mergedChannels.size(), c.channels);
  }
}

TEST(PsdWriter, MergedPictureLiesOverTheCheckerboard) {
  Picture eight(1);
  const PsdRead f = ReadPsd(Write(eight, Extras(true)));
  ASSERT_EQ(f.error, "");
  // Columns 0..3 opaque: the colour itself; 15..18 clear: the board, whose
  // 8 x 8 squares change at x = 8 and y = 8.
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(f.Sample(f.mergedChannels[c], 2, 9), f.Sample(f.layerChannels[c + 1], 2, 9));
    EXPECT_EQ(f.Sample(f.mergedChannels[c], 16, 9), 204u);  // x ^ y has bit 3
    EXPECT_EQ(f.Sample(f.mergedChannels[c], 16, 2), 255u);
  }
  Picture single(4);
  const PsdRead g = ReadPsd(Write(single, Extras(true)));
  ASSERT_EQ(g.error, "");
  EXPECT_EQ(g.FloatSample(g.mergedChannels[0], 16, 9), 0.8f);
  EXPECT_EQ(g.FloatSample(g.mergedChannels[0], 16, 2), 1.0f);
  EXPECT_EQ(g.FloatSample(g.mergedChannels[1], 2, 5), 5 / 11.0f);
  // 16-bit: no board, the transparency kept as a fourth channel.
  Picture wide(2);
  const PsdRead h = ReadPsd(Write(wide, Extras(true)));
  ASSERT_EQ(h.mergedChannels.size(), 4u);
  EXPECT_EQ(h.mergedChannels[3], h.layerChannels[0]);
  EXPECT_EQ(h.mergedChannels[0], h.layerChannels[1]);
  // Half transparent: halfway between colour and board.
  EXPECT_NEAR(g.FloatSample(g.mergedChannels[2], 8, 1), 0.5f * 0.8f + 0.5f * (8 % 7) / 6.0f, 1e-6);
}

TEST(PsdWriter, ResourceBytes) {
  Picture p(1);
  PsdExtras extras = Extras(false);
  const std::vector<std::uint8_t> icc = {'a', 'c', 's', 'p', 1, 2, 3};
  extras.iccProfile = icc.data();
  extras.iccProfileSize = icc.size();
  const PsdRead f = ReadPsd(Write(p, extras));
  ASSERT_EQ(f.error, "");
  EXPECT_EQ(f.ResourceIds(),
            (std::vector<std::uint16_t>{1005, 1011, 1016, 1035, 1039, 1028, 1058, 1024, 1026}));
  EXPECT_EQ(f.Resource(1039)->data, icc);
  EXPECT_EQ(f.Resource(1005)->data,
            (std::vector<std::uint8_t>{0, 72, 0, 0, 0, 1, 0, 1, 0, 72, 0, 0, 0, 1, 0, 1}));
  EXPECT_EQ(f.Resource(1011)->data, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 1}));
  const auto& r1016 = f.Resource(1016)->data;
  ASSERT_EQ(r1016.size(), 112u);
  std::vector<std::uint8_t> record = {0, 0};
  record.insert(record.end(), 22, 0xFF);
  record.insert(record.end(), {0x03, 0xE8, 0, 0});
  for (int r = 0; r < 4; ++r)
    EXPECT_TRUE(std::equal(record.begin(), record.end(), r1016.begin() + 28 * r));
  EXPECT_EQ(f.Resource(1024)->data, (std::vector<std::uint8_t>{0, 1}));
  EXPECT_EQ(f.Resource(1026)->data, (std::vector<std::uint8_t>{0, 0}));

  // IPTC: version 2, then source, date, caption and keyword as datasets.
  const auto& iptc = f.Resource(1028)->data;
  ASSERT_GE(iptc.size(), 7u);
  EXPECT_EQ(std::vector<std::uint8_t>(iptc.begin(), iptc.begin() + 7),
            (std::vector<std::uint8_t>{0x1C, 2, 0, 0, 2, 0, 2}));
  const std::string text(iptc.begin(), iptc.end());
  const std::size_t date = text.find("20261206");
  ASSERT_NE(date, std::string::npos);
  EXPECT_EQ(std::uint8_t(text[date - 3]), 55);
  EXPECT_EQ(std::uint8_t(text[date - 1]), 8);
  EXPECT_LT(text.find("https://"), date);
  EXPECT_LT(date, text.find("Made with Stellane"));
  EXPECT_EQ(text.substr(text.size() - 8), "Stellane");
  EXPECT_EQ(std::uint8_t(text[text.size() - 11]), 25);

  // Exif: big-endian TIFF with the software tag's count and zero-ended name.
  const auto& exif = f.Resource(1058)->data;
  const std::string e(exif.begin(), exif.end());
  EXPECT_EQ(e.substr(0, 8), std::string("Exif\0\0MM", 8));
  EXPECT_EQ(exif[10 + 4 + 2], 0x01);  // tag 305 = 0x0131
  EXPECT_EQ(exif[10 + 4 + 3], 0x31);
  EXPECT_EQ(exif[10 + 4 + 9], 9);  // "Stellane" and its zero
  const std::uint32_t offset = exif[10 + 4 + 13];
  EXPECT_EQ(e.substr(6 + offset, 9), std::string("Stellane\0", 9));
}

TEST(PsdWriter, RefusesSidesThePsdFormatCannotHold) {
  Picture p(1, 3, 3);
  std::vector<std::uint8_t> bytes;
  ByteSink sink = MemorySink(bytes);
  PsdJob job = p.job;
  job.width = kPsdMaxSide + 1;
  EXPECT_EQ(WritePsd(job, p.image, Extras(true), sink), PsdWriteStatus::kTooLarge);
  EXPECT_TRUE(bytes.empty());
  job.width = 3;
  job.height = 0;
  EXPECT_EQ(WritePsd(job, p.image, Extras(true), sink), PsdWriteStatus::kTooLarge);
}

TEST(PsdWriter, FailedSinkIsReported) {
  Picture p(1);
  ByteSink sink{nullptr, nullptr, 0, false};  // neither memory nor file
  EXPECT_EQ(WritePsd(p.job, p.image, Extras(true), sink), PsdWriteStatus::kWriteFailed);
}

TEST(PsdJob, DepthAndSizeFollowTheHost) {
  struct Case {
    std::int16_t mode, depth;
    std::int32_t bytes;
  };
  const Case cases[] = {
      {ps::plugInModeRGBColor, 8, 1},  {ps::plugInModeGrayScale, 8, 1},
      {ps::plugInModeRGB48, 16, 2},    {ps::plugInModeGray16, 16, 2},
      {ps::plugInModeRGB96, 32, 4},    {ps::plugInModeGray32, 32, 4},
      {ps::plugInModeRGBColor, 32, 4}, {ps::plugInModeLabColor, 8, 1},
      {ps::plugInModeRGB48, 8, 1},
  };
  RenderParams params{};
  params.outputMode = 3;
  params.customWidth = 640;
  params.customHeight = 480;
  for (const Case& c : cases) {
    ps::FilterRecord fr{};
    fr.imageMode = c.mode;
    fr.depth = c.depth;
    fr.filterRect = {10, 20, 60, 120};
    const PsdJob job = MakePsdJob(fr, params);
    EXPECT_EQ(job.bytesPerChannel, c.bytes) << c.mode << " " << c.depth;
    EXPECT_EQ(job.width, 100);
    EXPECT_EQ(job.height, 50);
    EXPECT_EQ(job.kind, 4);
    EXPECT_EQ(job.layerCount, 1);
  }
  params.outputMode = 6;
  ps::FilterRecord fr{};
  const PsdJob custom = MakePsdJob(fr, params);
  EXPECT_EQ(custom.width, 640);
  EXPECT_EQ(custom.height, 480);
  EXPECT_EQ(custom.outputMode, 6);
}

TEST(PackBits, RoundTripsRunsLiteralsAndTheirLimits) {
  std::mt19937 random(5);
  std::vector<std::vector<std::uint8_t>> inputs = {{},
                                                   {7},
                                                   {1, 1},
                                                   {1, 1, 1},
                                                   std::vector<std::uint8_t>(128, 9),
                                                   std::vector<std::uint8_t>(129, 9),
                                                   std::vector<std::uint8_t>(300, 0)};
  std::vector<std::uint8_t> literals(1000);
  for (auto& b : literals) b = static_cast<std::uint8_t>(random());
  inputs.push_back(literals);
  std::vector<std::uint8_t> mixed;
  for (int i = 0; i < 2000; ++i)
    mixed.push_back(static_cast<std::uint8_t>((random() % 4) ? i / 50 : random()));
  inputs.push_back(mixed);
  for (const auto& in : inputs) {
    std::vector<std::uint8_t> coded(PackBitsBound(in.size()));
    coded.resize(PackBitsEncode(in.data(), in.size(), coded.data()));
    EXPECT_LE(coded.size(), PackBitsBound(in.size()));
    for (std::size_t i = 0; i < coded.size();) {  // never the no-op header -128
      const int n = static_cast<std::int8_t>(coded[i]);
      ASSERT_NE(n, -128);
      i += n >= 0 ? std::size_t(n) + 2 : 2;
    }
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(testing::UnpackBits(coded, in.size(), out)) << in.size();
    EXPECT_EQ(out, in);
  }
  // Long runs shrink to two bytes per 128.
  std::vector<std::uint8_t> coded(PackBitsBound(300));
  EXPECT_EQ(PackBitsEncode(std::vector<std::uint8_t>(300, 0).data(), 300, coded.data()), 6u);
}

}  // namespace
}  // namespace stellane
