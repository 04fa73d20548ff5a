// The whole chain: a host runs the filter through PluginMain with the
// default parameters, rows are rendered and composited into its image.
#include <gtest/gtest.h>

#include <cmath>

#include "host/PluginEntry.h"
#include "testhost/TestHost.h"

namespace stellane {
namespace {

struct Shape {
  int planes;
  int depth;
};

class RenderThroughHost : public ::testing::TestWithParam<Shape> {};

TEST_P(RenderThroughHost, DefaultsRenderEveryPixelInRange) {
  const Shape shape = GetParam();
  testhost::TestHost host(&PluginMainImpl);
  testhost::Image source = testhost::Image::Make(37, 23, shape.planes, shape.depth);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x)
      for (int p = 0; p < source.colorPlanes; ++p)
        source.Set(x, y, p, source.MaxValue() * ((x + 2 * y + p) % 7) / 7.0);
  host.SetImage(source);

  const testhost::RunReport run = host.RunFilter();
  ASSERT_EQ(run.result, 0);

  const testhost::Image& out = host.GetImage();
  int changed = 0;
  double brightest = 0.0;
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      for (int p = 0; p < out.colorPlanes; ++p) {
        const double v = out.Get(x, y, p);
        ASSERT_TRUE(std::isfinite(v));
        ASSERT_GE(v, 0.0);
        if (shape.depth != 32) ASSERT_LE(v, out.MaxValue());
        changed += v != source.Get(x, y, p);
        brightest = std::max(brightest, v);
      }
    }
  }
  // "normal" replaces the source with the rendered nebula and stars.
  EXPECT_GT(changed, out.width * out.height / 2);
  EXPECT_GT(brightest, 0.0);
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

INSTANTIATE_TEST_SUITE_P(Images, RenderThroughHost,
                         ::testing::Values(Shape{3, 8}, Shape{1, 16}, Shape{3, 32}),
                         [](const auto& info) {
                           return std::string(info.param.planes == 3 ? "Rgb" : "Grey") +
                                  std::to_string(info.param.depth);
                         });

}  // namespace
}  // namespace stellane
