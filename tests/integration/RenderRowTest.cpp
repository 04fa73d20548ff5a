// Whole rows through PrepareRendering and RenderRow into a float image.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "RunRigs.h"
#include "render/StarField.h"

namespace stellane {
namespace {

using testing::NoNebula;
using testing::NoStars;
using testing::RenderRig;

TEST(RenderRow, MissingHostRowsReportOutOfMemory) {
  RenderRig rig(8, 2);
  rig.Prepare();
  rig.job.destination.rows.inData = nullptr;
  EXPECT_EQ(RenderRow(rig.job, 0), RenderStatus::kOutOfMemory);
}

TEST(RenderRow, SingleStarSpreadsThroughTheGlowCross) {
  RenderRig rig(24, 10);
  NoNebula(rig.params);
  NoStars(rig.params);
  rig.params.color = 0;  // grey light: the same value in every channel
  rig.Prepare();
  // A star of side 1 whose square starts at (10.5, 4.5) lights only pixel
  // (11, 5), at its centre.
  RenderContext& c = rig.Context();
  StarRecord& s = c.starPool[1];
  s = StarRecord{10.5f, 4.5f, 1.0f, 1.0f, 200, -1, 1};
  c.starPool[0].next = 1;
  const std::vector<float> image = rig.RenderRows();

  // Ramp row 200 is (206, 255, 255): grey light 0.6 * 255 + 0.3 * 206 + 0.1 * 255
  // = 240.3, times the brightness factor and falloff entry 0, 1/256.
  const float S = rig.params.brightness * 0.03f / 256.0f * 240.3f;
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(rig.At(image, 11, 6, c), 0.36f * S, 1e-6f) << c;
  for (auto [x, y] : {std::pair{10, 6}, {12, 6}, {11, 5}, {11, 7}})
    EXPECT_NEAR(rig.At(image, x, y, 1), 0.03f * S, 1e-7f) << x << "," << y;
  double total = 0.0;
  for (float v : image) total += v;
  EXPECT_NEAR(total, 3 * 0.48 * S, 1e-5);
}

TEST(RenderRow, PreviewShowsTheFullSizeNebulaSampledEveryZoomPixels) {
  RenderRig full(48, 24);
  NoStars(full.params);
  const std::vector<float> big = full.Render();
  for (int zoom : {2, 3}) {
    RenderRig preview(48 / zoom, 24 / zoom);
    NoStars(preview.params);
    preview.params.previewZoom = zoom;
    const std::vector<float> small = preview.Render();
    for (int y = 0; y < preview.height; ++y)
      for (int x = 0; x < preview.width; ++x)
        ASSERT_EQ(preview.At(small, x, y, 1), full.At(big, x * zoom, y * zoom, 1))
            << "zoom " << zoom << " at " << x << "," << y;
  }
  // Panning by whole preview pixels shifts the same picture.
  RenderRig panned(20, 10);
  NoStars(panned.params);
  panned.params.previewZoom = 2;
  panned.params.previewPanX = 8;
  panned.params.previewPanY = 5;  // 5 / 2 = 2 preview rows
  const std::vector<float> moved = panned.Render();
  EXPECT_EQ(panned.At(moved, 0, 0, 0), full.At(big, 8, 4, 0));
  EXPECT_EQ(panned.At(moved, 3, 1, 2), full.At(big, 14, 6, 2));
}

TEST(RenderRow, FastPathMatchesTheReference) {
  struct Setting {
    std::int32_t seed, density, starScale, depth, a, b, zoom;
  };
  const Setting settings[] = {{67676767, 29, 62, 12, 43, 59, 1},
                              {444, 80, 90, 50, 0, 0, 3},
                              {7, 100, 40, -30, 100, 100, 2}};
  for (const Setting& s : settings) {
    RenderRig rig(70, 40);
    RenderParams& p = rig.params;
    p.randomSeed = s.seed;
    p.density = s.density;
    p.starScale = s.starScale;
    p.depth = s.depth;
    p.paramA = s.a;
    p.paramB = s.b;
    p.previewZoom = s.zoom;
    const std::vector<float> fast = rig.Render(3, RenderPath::Fast);
    const std::vector<float> reference = rig.Render(3, RenderPath::Reference);
    ASSERT_EQ(fast, reference) << "seed " << s.seed;
  }
}

TEST(RenderRow, AnyParameterValueRendersDefinedColours) {
  const std::int32_t values[] = {INT32_MIN, -1, 0, 101, INT32_MAX};
  std::int32_t RenderParams::*fields[] = {
      &RenderParams::paramA,     &RenderParams::paramB,      &RenderParams::density,
      &RenderParams::brightness, &RenderParams::nebulaScale, &RenderParams::texture,
      &RenderParams::contrast,   &RenderParams::starScale,   &RenderParams::fibrousness,
      &RenderParams::depth,      &RenderParams::opacity,     &RenderParams::color,
      &RenderParams::randomSeed, &RenderParams::previewZoom, &RenderParams::previewPanX,
      &RenderParams::previewPanY};
  for (auto field : fields) {
    for (std::int32_t v : values) {
      RenderRig rig(9, 4);
      rig.params.density = 100;
      rig.params.*field = v;
      const std::vector<float> image = rig.Render();
      ASSERT_EQ(rig.status, RenderStatus::kDone);
      for (float c : image) ASSERT_TRUE(c >= 0.0f && std::isfinite(c)) << v;
      ASSERT_EQ(image, rig.Render(1, RenderPath::Reference)) << v;
    }
  }
}

}  // namespace
}  // namespace stellane
