// Whole filter runs through PluginMain with different glue modes. The nebula
// alone (no stars) renders the same layer every time for a given seed, so a
// run with "normal" shows the layer itself and the other modes can be
// checked against it and the source pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>

#include "../unit/ScratchTempFolder.h"
#include "host/PluginEntry.h"
#include "params/EnumCodes.h"
#include "testhost/TestHost.h"

namespace stellane {
namespace {

using ps::FourCC;

constexpr std::uint32_t kNormal = FourCC("GL01");
constexpr std::uint32_t kLighten = FourCC("GL05");
constexpr std::uint32_t kDarken = FourCC("GL06");
constexpr std::uint32_t kAdd = FourCC("GL07");

// An odd-sized picture whose planes all differ.
testhost::Image Picture(int colourPlanes, int depth, bool transparency) {
  testhost::Image image = testhost::Image::Make(7, 5, colourPlanes, depth, transparency);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      for (int p = 0; p < image.Planes(); ++p) {
        const double v = ((x * 53 + y * 31 + p * 97) % 256) / 255.0;
        image.Set(x, y, p, v * image.MaxValue());
      }
    }
  }
  return image;
}

class GlueRun : public ::testing::Test {
 protected:
  GlueRun() : host_(PluginMainImpl) {}

  // Filters `picture` with the nebula only and the given glue mode.
  testhost::Image Run(const testhost::Image& picture, std::uint32_t glue) {
    host_.SetImage(picture);
    host_.Config().descriptorToPlay = testhost::Descriptor{
        testhost::IntegerItem(FourCC("0008"), 0),  // density: no stars
        testhost::EnumeratedItem(FourCC("GLUE"), kGlueEnumType, glue),
    };
    host_.Config().playInfo = ps::plugInDialogDontDisplay;
    const testhost::RunReport run = host_.RunFilter();
    EXPECT_EQ(run.result, 0);
    return host_.GetImage();
  }

  ScratchTempFolder scratch_;
  testhost::TestHost host_;
};

// Each colour sample of `out` is `combine(layer, source)`.
template <typename Combine>
void ExpectCombined(const testhost::Image& out, const testhost::Image& layer,
                    const testhost::Image& source, Combine combine) {
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      for (int p = 0; p < out.colorPlanes; ++p) {
        ASSERT_EQ(out.Get(x, y, p), combine(layer.Get(x, y, p), source.Get(x, y, p)))
            << x << "," << y << " plane " << p;
      }
    }
  }
}

bool HasLight(const testhost::Image& layer) {
  for (int y = 0; y < layer.height; ++y)
    for (int x = 0; x < layer.width; ++x)
      if (layer.Get(x, y, 0) > 0) return true;
  return false;
}

double Lighter(double layer, double source) { return std::max(layer, source); }
double Darker(double layer, double source) { return std::min(layer, source); }
double Added8(double layer, double source) { return std::min(255.0, layer + source); }
double LayerOnly(double layer, double) { return layer; }  // float images: no glue

struct Case {
  int colourPlanes, depth;
  bool transparency;
  std::uint32_t glue;
  double (*combine)(double layer, double source);
};

TEST_F(GlueRun, ModesCombineTheLayerWithTheSource) {
  const Case cases[] = {
      {3, 8, false, kLighten, Lighter}, {3, 8, false, kDarken, Darker},
      {3, 8, false, kAdd, Added8},      {1, 8, false, kLighten, Lighter},
      {3, 16, true, kDarken, Darker},   {3, 32, false, kDarken, LayerOnly},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.colourPlanes << " planes, depth " << c.depth);
    const testhost::Image source = Picture(c.colourPlanes, c.depth, c.transparency);
    const testhost::Image layer = Run(source, kNormal);
    ASSERT_TRUE(HasLight(layer));
    const testhost::Image out = Run(source, c.glue);
    ExpectCombined(out, layer, source, c.combine);
    // The rendered alpha is full: a transparency plane becomes opaque.
    if (c.transparency) {
      EXPECT_EQ(out.Get(3, 2, c.colourPlanes), out.MaxValue());
    }
  }
}

}  // namespace
}  // namespace stellane
