// The PSD export as the dialog runs it: a real file at every depth, read
// back by our own reader and by ImageMagick, the run state untouched
// afterwards, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../unit/ScratchTempFolder.h"
#include "ExportPsdReader.h"
#include "RunRigs.h"
#include "export/PsdExport.h"
#include "export/PsdJob.h"
#include "image/TiledImage.h"
#include "render/CrtRandom.h"

namespace stellane {
namespace {

using testing::ExportRig;
using testing::PsdRead;
using testing::ReadPsd;

constexpr std::int32_t kWidth = 37;  // odd sizes catch swapped axes
constexpr std::int32_t kHeight = 23;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Stars vary with `rand`: a fixed seed makes two renderings equal.
std::int16_t Export(ExportRig& rig, const std::string& path,
                    const ExportProgress* progress = nullptr) {
  CrtSrand(11);
  return ExportPsd(rig.run, path.c_str(), progress);
}

// The same rendering straight into an image, for comparison.
struct Rendered {
  TiledImage image;
  Rendered(ExportRig& rig, std::int32_t format) {
    InitTiledImage(image);
    CreateTiledImage(image, kWidth, kHeight, format);
    CrtSrand(11);
    EXPECT_EQ(RenderIntoImage(rig.run.job, image, nullptr), RenderStatus::kDone);
  }
  ~Rendered() { ReleaseTiledImage(image); }
};

bool HaveImageMagick() { return std::system("identify -version > /dev/null 2>&1") == 0; }

std::string RunCommand(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

// 16-bit samples of a picture converted by ImageMagick's `convert`.
std::vector<std::uint16_t> Convert16(const std::string& source, const char* map,
                                     const std::string& rawPath) {
  const std::string command =
      "convert '" + source + "' -depth 16 " + map + ":'" + rawPath + "' 2>&1";
  EXPECT_EQ(RunCommand(command), "") << command;
  const std::vector<std::uint8_t> bytes = ReadFile(rawPath);
  std::vector<std::uint16_t> samples;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    samples.push_back(std::uint16_t(bytes[i] | (bytes[i + 1] << 8)));
  return samples;
}

// Every depth: the layer read back by our reader is the rendering, and
// ImageMagick (where installed) reads the same layer and merged picture.
// (A profile in the file does not change what ImageMagick reads.)
TEST(ExportPsd, EveryDepthCarriesTheRenderedLayer) {
  ScratchTempFolder temp;
  const bool imageMagick = HaveImageMagick();
  for (int depth : {8, 16, 32}) {
    SCOPED_TRACE(depth);
    ExportRig rig(kWidth, kHeight, depth);
    // The host's profile, where it gives one, travels unchanged.
    const std::vector<std::uint8_t> profile = {0, 0, 2, 0x30, 'a', 'c', 's', 'p', 9};
    if (depth == 16) rig.GiveProfile(profile);
    const std::string path = temp.In(("out" + std::to_string(depth) + ".psd").c_str());
    ASSERT_EQ(Export(rig, path), 0);
    const PsdRead f = ReadPsd(ReadFile(path));
    ASSERT_EQ(f.error, "");
    EXPECT_EQ(f.depth, depth);
    if (depth != 16) {
      EXPECT_EQ(f.Resource(1039), nullptr);
    } else {
      ASSERT_NE(f.Resource(1039), nullptr);
      EXPECT_EQ(f.Resource(1039)->data, profile);
      EXPECT_EQ(f.ResourceIds()[4], 1039);  // after the URL, before the IPTC record
    }
    ASSERT_EQ(f.layerChannels.size(), 4u);
    const float full = depth == 8 ? 255.0f : 65535.0f;
    auto ours = [&](const std::vector<std::uint8_t>& channel, int x, int y) {
      return depth == 32 ? f.FloatSample(channel, x, y) : f.Sample(channel, x, y) / full;
    };

    const Rendered r(rig, depth == 8 ? 3 : depth == 16 ? 4 : 9);
    const int ids[4] = {3, 0, 1, 2};  // file order: alpha, red, green, blue
    for (std::int32_t y = 0; y < kHeight; ++y)
      for (std::int32_t x = 0; x < kWidth; ++x) {
        float expected[4];
        ReadChannelsFloat(r.image, x, y, 0, expected);
        for (int i = 0; i < 4; ++i)
          ASSERT_NEAR(ours(f.layerChannels[i], x, y), expected[ids[i]] / r.image.maxValue,
                      depth == 32 ? 0.0f : 1.0f / 65535)
              << x << "," << y << " " << i;
      }
    if (!imageMagick) continue;
    EXPECT_EQ(RunCommand("identify -format '%w %h %z %[label]|' '" + path + "' 2>/dev/null"),
              "37 23 " + std::to_string(depth) + " |37 23 " + std::to_string(depth) + " layer 1|");
    const std::vector<std::uint16_t> layer = Convert16(path + "[1]", "rgba", temp.In("layer.raw"));
    const std::vector<std::uint16_t> merged = Convert16(path + "[0]", "rgb", temp.In("merged.raw"));
    ASSERT_EQ(layer.size(), std::size_t(kWidth * kHeight * 4));
    ASSERT_EQ(merged.size(), std::size_t(kWidth * kHeight * 3));
    const float tolerance = 1.5f / 65535;
    auto clamped = [&](const std::vector<std::uint8_t>& channel, int x, int y) {
      return std::clamp(ours(channel, x, y), 0.0f, 1.0f);
    };
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const std::size_t at = std::size_t(y) * kWidth + x;
        for (int c = 0; c < 4; ++c)
          ASSERT_NEAR(layer[at * 4 + c] / 65535.0f, clamped(f.layerChannels[(c + 1) % 4], x, y),
                      tolerance)
              << x << "," << y;
        for (int c = 0; c < 3 && depth != 16; ++c)
          ASSERT_NEAR(merged[at * 3 + c] / 65535.0f, clamped(f.mergedChannels[c], x, y), tolerance);
      }
  }
}

struct ProgressLog {
  std::vector<std::int32_t> percents;
  int cancelling = 0;
  int cancelAfterAsks = -1;  // answer yes on this ask, -1 never
  int asks = 0;
  std::int16_t nestedStatus = 0;
  ExportRig* rig = nullptr;
  std::string nestedPath;
};

ExportProgress LoggingProgress(ProgressLog& log) {
  ExportProgress p{};
  p.user = &log;
  p.percent = [](void* user, std::int32_t percent) {
    auto& l = *static_cast<ProgressLog*>(user);
    l.percents.push_back(percent);
    if (l.rig && l.percents.size() == 1)
      l.nestedStatus = ExportPsd(l.rig->run, l.nestedPath.c_str(), nullptr);
  };
  p.cancelWanted = [](void* user) {
    auto& l = *static_cast<ProgressLog*>(user);
    return l.asks++ == l.cancelAfterAsks;
  };
  p.cancelling = [](void* user) { ++static_cast<ProgressLog*>(user)->cancelling; };
  return p;
}

TEST(ExportPsd, ProgressCancelAndASecondExportWhileOneRuns) {
  ScratchTempFolder temp;
  ExportRig rig(kWidth, 40, 8);
  {
    ProgressLog log;
    log.rig = &rig;
    log.nestedPath = temp.In("nested.psd");
    const ExportProgress progress = LoggingProgress(log);
    ASSERT_EQ(Export(rig, temp.In("progress.psd"), &progress), 0);
    EXPECT_EQ(log.nestedStatus, kExportNotStarted);
    EXPECT_FALSE(temp.Has("nested.psd"));
    ASSERT_FALSE(log.percents.empty());
    EXPECT_EQ(log.percents.front(), 0);
    EXPECT_GE(log.percents.back(), 95);
    EXPECT_TRUE(std::is_sorted(log.percents.begin(), log.percents.end()));
    EXPECT_EQ(log.asks, 40 / 8);  // every eighth row
    EXPECT_EQ(log.cancelling, 0);
  }
  {
    ProgressLog log;
    log.cancelAfterAsks = 1;  // on the second ask: row 15
    const ExportProgress progress = LoggingProgress(log);
    EXPECT_EQ(Export(rig, temp.In("cancelled.psd"), &progress), kExportCancelled);
    EXPECT_EQ(log.asks, 2);
    EXPECT_EQ(log.cancelling, 1);
    EXPECT_FALSE(temp.Has("cancelled.psd"));
  }
  {
    // The host's abort test is asked every eighth row as well (after the
    // window): yes on its second ask stops the export the same way.
    static int hostAsks;
    hostAsks = 0;
    rig.run.job.progress.cancelWanted = [](void*, std::int32_t) { return ++hostAsks == 2; };
    ProgressLog log;
    const ExportProgress progress = LoggingProgress(log);
    EXPECT_EQ(Export(rig, temp.In("host-cancelled.psd"), &progress), kExportCancelled);
    EXPECT_EQ(hostAsks, 2);
    EXPECT_EQ(log.asks, 2);
    EXPECT_EQ(log.cancelling, 1);
    EXPECT_FALSE(temp.Has("host-cancelled.psd"));
  }
}

TEST(ExportPsd, RefusalsWriteNothing) {
  ScratchTempFolder temp;
  ExportRig rig(kWidth, kHeight, 8);
  EXPECT_EQ(Export(rig, temp.In("missing/folder/x.psd")), kExportFileNotCreated);
  EXPECT_EQ(Export(rig, ""), kExportNotStarted);

  rig.params.outputMode = 6;  // the custom size
  rig.params.customWidth = kPsdMaxSide + 1;
  rig.params.customHeight = 10;
  EXPECT_EQ(Export(rig, temp.In("wide.psd")), kExportTooLarge);
  EXPECT_FALSE(temp.Has("wide.psd"));
  rig.params.customWidth = 12;
  rig.params.customHeight = 0;
  EXPECT_EQ(Export(rig, temp.In("empty.psd")), kExportTooLarge);
  rig.params.customHeight = 5;
  ASSERT_EQ(Export(rig, temp.In("custom.psd")), 0);
  const PsdRead f = ReadPsd(ReadFile(temp.In("custom.psd")));
  EXPECT_EQ(f.width, 12u);
  EXPECT_EQ(f.height, 5u);
}

}  // namespace
}  // namespace stellane
