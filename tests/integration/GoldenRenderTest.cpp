// Golden renders: small pictures filtered through PluginMain by the test host,
// with the star generator seeded to a fixed value, each pinned by a digest of
// its pixels. Any change to a constant or a step of the star, nebula or glue
// arithmetic changes a digest. A changed picture is written as a PNG under
// the build folder; the failure message says where and how to re-pin it.
// A few pixels are also checked against what the rendering rules state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "host/PluginEntry.h"
#include "params/EnumCodes.h"
#include "render/CrtRandom.h"
#include "stellane/ImageFiles.h"
#include "testhost/TestHost.h"

namespace stellane {
namespace {

using ps::FourCC;
using testhost::Descriptor;
using testhost::IntegerItem;

constexpr std::uint32_t kStarSeed = 20240601;

testhost::DescriptorItem Glue(std::uint32_t code) {
  return testhost::EnumeratedItem(FourCC("GLUE"), kGlueEnumType, code);
}

// A lopsided picture: each plane runs its own way, so swapped planes, flipped
// rows or a glue mode reading the wrong source pixel change the result.
testhost::Image Source(int colourPlanes, int depth, int width = 64, int height = 48,
                       bool alpha = false) {
  testhost::Image image = testhost::Image::Make(width, height, colourPlanes, depth, alpha);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      for (int p = 0; p < image.Planes(); ++p)
        image.Set(x, y, p, image.MaxValue() * ((x * (p + 1) + y * (3 - p) * 2) % 97) / 96.0);
  return image;
}

// One run as an editor drives it, with rand seeded between prepare (which
// seeds it from the clock) and start.
testhost::Image Render(const testhost::Image& source, const Descriptor& settings) {
  testhost::TestHost host(&PluginMainImpl);
  host.SetImage(source);
  host.Config().descriptorToPlay = settings;
  host.BeginRun();
  EXPECT_EQ(host.Call(ps::filterSelectorPrepare), 0);
  CrtSrand(kStarSeed);
  EXPECT_EQ(host.Call(ps::filterSelectorStart), 0);
  const auto requesting = [&] {
    const ps::FilterRecord& r = host.Record();
    return r.outRect.right > r.outRect.left && r.outRect.bottom > r.outRect.top;
  };
  while (requesting()) {
    EXPECT_EQ(host.ServePixels(), 0);
    EXPECT_EQ(host.Call(ps::filterSelectorContinue), 0);
  }
  EXPECT_EQ(host.Call(ps::filterSelectorFinish), 0);
  host.EndRun();
  return host.GetImage();
}

std::uint64_t Digest(const testhost::Image& image) {
  std::uint64_t h = 0xcbf29ce484222325u;  // FNV-1a
  for (std::uint8_t byte : image.data) h = (h ^ byte) * 0x100000001b3u;
  return h;
}

// The nebula's weight 1 - e^(-0.4 NL) takes expf from the C runtime, and the
// Windows runtime's differs from glibc's in the last bit for some arguments.
// Float pictures keep every bit, so those with a nebula are pinned once per
// runtime; the integer pictures and the float one without nebula come out
// the same on both.
#ifdef _WIN32
constexpr bool kWindowsRuntime = true;
#else
constexpr bool kWindowsRuntime = false;
#endif

struct Golden {
  const char* name;
  int colourPlanes;
  int depth;
  Descriptor settings;
  std::uint64_t digest;
  std::uint64_t windowsDigest = 0;  // when the Windows runtime's expf gives another
  int width = 64;
  int height = 48;
  std::uint64_t Pinned() const { return kWindowsRuntime && windowsDigest ? windowsDigest : digest; }
};

const Descriptor kStrongNebulaOnly = {
    IntegerItem(FourCC("0008"), 0), IntegerItem(FourCC("0007"), 100),
    IntegerItem(FourCC("0020"), 100), IntegerItem(FourCC("0010"), 0)};
const Descriptor kBigStarsOnly = {IntegerItem(FourCC("0007"), 0), IntegerItem(FourCC("0020"), 0),
                                  IntegerItem(FourCC("0013"), 100),
                                  IntegerItem(FourCC("0008"), 100)};
// Some 2500 small stars: every row of the colour ramp is drawn.
const Descriptor kManySmallStars = {IntegerItem(FourCC("0007"), 0), IntegerItem(FourCC("0020"), 0),
                                    IntegerItem(FourCC("0013"), 30),
                                    IntegerItem(FourCC("0008"), 100)};
// Stars under a bright nebula with full opacity: the veil hides some of them.
const Descriptor kVeiledStars = {IntegerItem(FourCC("0007"), 100), IntegerItem(FourCC("0020"), 100),
                                 IntegerItem(FourCC("0010"), 0), IntegerItem(FourCC("0017"), 100),
                                 IntegerItem(FourCC("0008"), 100)};

TEST(GoldenRender, PicturesKeepTheirDigests) {
  const Golden cases[] = {
      {"defaults_rgb8", 3, 8, {}, 0xff07a3ae1dfd64e2},
      {"defaults_grey8", 1, 8, {}, 0xaa9039f44f5fac14},
      {"defaults_rgb16", 3, 16, {}, 0xbec13aad15bdb9da},
      {"defaults_float", 3, 32, {}, 0xc22eaf4d1e3a847c, 0xf103eddd705bf7e7},
      {"nebula_only_float", 3, 32, kStrongNebulaOnly, 0xf82b09a33ce1cfe0, 0xdf41112831c6232e},
      {"big_stars_only", 3, 8, kBigStarsOnly, 0xbd6a65cde1aef7e9},
      {"many_small_stars_float", 3, 32, kManySmallStars, 0x11e1006b058af662, 0, 160, 120},
      {"veiled_stars_float", 3, 32, kVeiledStars, 0x32e6a2ec5b9c5ea5, 0x812bf6951b8e2e21},
      {"procedural_plus", 3, 8, {Glue(FourCC("GL02"))}, 0x5af0c5c1d9c1d1bd},
      {"overlay", 3, 8, {Glue(FourCC("GL12"))}, 0x8b12cd9b03396bf6},
      {"hue", 3, 8, {Glue(FourCC("GL23"))}, 0x656d45d60c5b8f8},
      {"hot", 3, 8, {Glue(FourCC("GL40"))}, 0x653eb7bbea0e18b8},
      {"superlay_rgb16", 3, 16, {Glue(FourCC("GL13"))}, 0x4c4dba3d6abc1a4b},
      {"limbic_grey16", 1, 16, {Glue(FourCC("GL57"))}, 0x715e555a2af70cd3},
  };
  for (const Golden& c : cases) {
    const testhost::Image out =
        Render(Source(c.colourPlanes, c.depth, c.width, c.height), c.settings);
    const std::uint64_t digest = Digest(out);
    if (digest == c.Pinned()) continue;
    const std::filesystem::path png =
        std::filesystem::absolute("golden") / (c.name + std::string(".png"));
    std::filesystem::create_directories(png.parent_path());
    cli::WriteImageFile(out, png.string(), cli::ImageFileKind::Png);
    ADD_FAILURE() << "The golden render " << c.name << " changed: digest 0x" << std::hex << digest
                  << ", pinned 0x" << c.Pinned() << ".\nLook at the new picture, " << png.string()
                  << "; if the change is meant, pin the new digest in "
                     "tests/integration/GoldenRenderTest.cpp"
                  << (kWindowsRuntime && c.windowsDigest ? " as its Windows digest." : ".");
  }
}

// Pixels whose values follow from the rules alone.
TEST(GoldenRender, PixelsTheRulesDecide) {
  // No nebula and no star before the first pixel: it stays black.
  const testhost::Image stars = Render(Source(3, 8), kBigStarsOnly);
  for (int p = 0; p < 3; ++p) EXPECT_EQ(stars.Get(0, 0, p), 0.0) << p;

  // Nothing rendered at all: "normal" gives black, "lighten" keeps the source.
  const Descriptor nothing = {IntegerItem(FourCC("0008"), 0), IntegerItem(FourCC("0007"), 0),
                              IntegerItem(FourCC("0020"), 0)};
  Descriptor lighten = nothing;
  lighten.push_back(Glue(FourCC("GL05")));
  EXPECT_EQ(Render(Source(3, 16), lighten).data, Source(3, 16).data);
  const testhost::Image black = Render(Source(1, 8), nothing);
  EXPECT_TRUE(std::all_of(black.data.begin(), black.data.end(), [](auto v) { return v == 0; }));

  // Cloud A alone, drifting from (200, 0, 100) to (0, 200, 100); cloud B black.
  // Gradient noise is 0 at the origin, so A's colour there is exactly halfway,
  // (100, 100, 100): the pixel is grey. Elsewhere the drift tints the cloud.
  Descriptor cloudA = kStrongNebulaOnly;
  const int chips[] = {200, 0, 100, 0, 200, 100, 0, 0, 0, 0, 0, 0};
  const char keys[][5] = {"0001", "0002", "0003", "0004", "0005", "0006",
                          "0021", "0022", "0023", "0024", "0025", "0026"};
  for (int i = 0; i < 12; ++i) cloudA.push_back(IntegerItem(FourCC(keys[i]), chips[i]));
  const testhost::Image nebula = Render(Source(3, 32), cloudA);
  ASSERT_GT(nebula.Get(0, 0, 0), 0.0);
  EXPECT_EQ(nebula.Get(0, 0, 1), nebula.Get(0, 0, 0));
  EXPECT_EQ(nebula.Get(0, 0, 2), nebula.Get(0, 0, 0));
  bool tinted = false;
  for (int y = 0; y < nebula.height; ++y)
    for (int x = 0; x < nebula.width; ++x) tinted |= nebula.Get(x, y, 0) != nebula.Get(x, y, 1);
  EXPECT_TRUE(tinted);
}

// The nebula alone is the same layer in every run: "normal" shows it, and
// other modes combine it with the source sample by sample. Float pictures
// take no glue mode; a transparency plane becomes opaque.
TEST(GoldenRender, GlueModesCombineTheLayerWithTheSource) {
  using Combine = double (*)(double layer, double source);
  const Combine lighter = [](double l, double s) { return std::max(l, s); };
  const Combine darker = [](double l, double s) { return std::min(l, s); };
  const struct {
    int colourPlanes, depth;
    bool alpha;
    std::uint32_t glue;
    Combine combine;
  } cases[] = {
      {3, 8, false, FourCC("GL05"), lighter},
      {3, 8, false, FourCC("GL06"), darker},
      {3, 8, false, FourCC("GL07"), [](double l, double s) { return std::min(255.0, l + s); }},
      {1, 8, false, FourCC("GL05"), lighter},
      {3, 16, true, FourCC("GL06"), darker},
      {3, 32, false, FourCC("GL06"), [](double l, double) { return l; }}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.colourPlanes << " planes, depth " << c.depth);
    const testhost::Image source = Source(c.colourPlanes, c.depth, 7, 5, c.alpha);
    const testhost::Image layer = Render(source, {IntegerItem(FourCC("0008"), 0)});
    const testhost::Image out = Render(source, {IntegerItem(FourCC("0008"), 0), Glue(c.glue)});
    bool lit = false;
    for (int y = 0; y < out.height; ++y)
      for (int x = 0; x < out.width; ++x) {
        lit |= layer.Get(x, y, 0) > 0;
        for (int p = 0; p < c.colourPlanes; ++p)
          ASSERT_EQ(out.Get(x, y, p), c.combine(layer.Get(x, y, p), source.Get(x, y, p)))
              << x << "," << y << " plane " << p;
        if (c.alpha) {
          ASSERT_EQ(out.Get(x, y, c.colourPlanes), out.MaxValue());
        }
      }
    EXPECT_TRUE(lit);
  }
}

}  // namespace
}  // namespace stellane
