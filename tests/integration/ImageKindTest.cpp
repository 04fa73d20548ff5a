// The image kind decides the compositor's units and the PSD export's depth:
// 16-bit and float only in their own modes at their own depth (depth 32
// alone is float), everything else 8-bit or unhandled.
#include <gtest/gtest.h>

#include "export/PsdJob.h"
#include "host/RenderJobs.h"

namespace stellane {
namespace {

TEST(ImageKind, FollowsModeAndDepthAndGivesThePsdDepth) {
  const struct {
    std::int16_t mode, depth;
    ImageKind kind;
    std::int32_t psdBytes;  // anything neither 16-bit nor float is written in 8 bits
  } cases[] = {{ps::plugInModeRGBColor, 8, ImageKind::k8, 1},
               {ps::plugInModeGrayScale, 8, ImageKind::k8, 1},
               {ps::plugInModeRGB48, 16, ImageKind::k16, 2},
               {ps::plugInModeGray16, 16, ImageKind::k16, 2},
               {ps::plugInModeRGB96, 32, ImageKind::kFloat, 4},
               {ps::plugInModeGray32, 32, ImageKind::kFloat, 4},
               {ps::plugInModeRGBColor, 32, ImageKind::kFloat, 4},
               {ps::plugInModeLabColor, 8, ImageKind::kOther, 1},
               {ps::plugInModeRGB48, 8, ImageKind::kOther, 1}};
  RenderParams params{};
  for (const auto& c : cases) {
    ps::FilterRecord fr{};
    fr.imageMode = c.mode;
    fr.depth = c.depth;
    EXPECT_EQ(ImageKindOf(fr), c.kind) << c.mode << " " << c.depth;
    const PsdJob job = MakePsdJob(c.kind, 100, 50, params);
    EXPECT_EQ(job.bytesPerChannel, c.psdBytes) << c.mode << " " << c.depth;
    EXPECT_EQ(job.width, 100);
    EXPECT_EQ(job.height, 50);
  }
}

}  // namespace
}  // namespace stellane
