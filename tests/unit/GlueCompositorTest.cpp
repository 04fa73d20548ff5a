// The compositor on tiny host-style rows and images: an odd-sized picture whose
// pixels all differ, so swapped channels, planes or rows show.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "glue/Compositor.h"
#include "glue/GlueModes.h"
#include "image/TiledImage.h"
#include "render/RenderContext.h"

namespace stellane {
namespace {

constexpr std::int32_t kGlueLighten = 5;

enum class Kind { k8, k16, kFloat };

// The rows of a host that supplies one request of `width` x `height` pixels.
struct Rig {
  RenderParams params{};
  std::unique_ptr<RenderContext> context = std::make_unique<RenderContext>();
  RenderJob job{};
  std::vector<std::uint8_t> in, out, mask;
  Kind kind;
  int planes, bytes, width, height;

  Rig(Kind k, int colourPlanes, bool transparency, int w, int h, RenderTarget target)
      : kind(k), planes(colourPlanes + (transparency ? 1 : 0)), width(w), height(h) {
    bytes = k == Kind::k8 ? 1 : k == Kind::k16 ? 2 : 4;
    const int rowBytes = w * planes * bytes;
    in.resize(std::size_t(h) * rowBytes);
    out.assign(in.size(), 0xEE);
    // Every channel of every pixel different.
    for (std::size_t i = 0; i < in.size() / bytes; ++i) {
      const int v = static_cast<int>((i * 37 + 11) % 251);
      if (k == Kind::k8) in[i] = static_cast<std::uint8_t>(v);
      if (k == Kind::k16) Store(in.data() + 2 * i, static_cast<std::uint16_t>(v * 128));
      if (k == Kind::kFloat) Store(in.data() + 4 * i, v / 255.0f);
    }
    params.glue = 1;
    SetTarget(params, target);
    BuildProceduralWeights(context->proceduralWeights);
    job.params = &params;
    job.context = context.get();
    RenderDestination& d = job.destination;
    d.target = target;
    d.kind = k == Kind::k8 ? ImageKind::k8 : k == Kind::k16 ? ImageKind::k16 : ImageKind::kFloat;
    d.grey = colourPlanes < 3;
    d.columns = d.workWidth = w;
    d.workHeight = h;
    const bool preview = target == RenderTarget::kPreview;
    d.rows = {in.data(), out.data(),      rowBytes,
              rowBytes,  planes,          planes,
              w,         preview ? h : 1, transparency ? colourPlanes : -1,
              !preview};
  }

  template <typename T>
  static void Store(std::uint8_t* p, T v) {
    std::memcpy(p, &v, sizeof v);
  }
  template <typename T>
  static T Load(const std::uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  std::size_t Index(int x, int y, int plane) const {
    return std::size_t(y) * width * planes + std::size_t(x) * planes + plane;
  }
  double Read(const std::vector<std::uint8_t>& buf, int x, int y, int plane) const {
    const std::size_t i = Index(x, y, plane);
    if (kind == Kind::k8) return buf[i];
    if (kind == Kind::k16) return Load<std::uint16_t>(buf.data() + 2 * i);
    return Load<float>(buf.data() + 4 * i);
  }
  double Out(int x, int y, int plane) const { return Read(out, x, y, plane); }
  // Every plane of the pixel at (x, y).
  std::vector<double> Outs(int x, int y) const {
    std::vector<double> v;
    for (int p = 0; p < planes; ++p) v.push_back(Out(x, y, p));
    return v;
  }
  double Src(int x, int y, int plane) const { return Read(in, x, y, plane); }
  bool Untouched(int x, int y, int plane) const { return out[Index(x, y, plane) * bytes] == 0xEE; }

  void SetMask(const std::vector<std::uint8_t>& values) {
    mask = values;
    job.destination.mask = {mask.data(), width, width, 0, height - 1};
  }

  void Composite(int x, int y, float r, float gr, float b, float a = 1.0f) {
    RenderedPixel p{r, gr, b, a};
    CompositeGluePixel(x, y, p, job);
  }
};

TEST(GlueCompositor, FilterRunWritesTheRenderedColourIntoTheRow) {
  Rig rig(Kind::k8, 3, false, 5, 1, RenderTarget::kHostImage);
  rig.Composite(3, 0, 0.2f, 0.4f, 0.6f);
  EXPECT_EQ(rig.Outs(3, 0), (std::vector<double>{51, 102, 153}));
  EXPECT_TRUE(rig.Untouched(2, 0, 2));
  EXPECT_TRUE(rig.Untouched(4, 0, 0));
  // Places outside the row are clamped into it; negative light is black.
  rig.Composite(99, 0, 1.0f, -0.5f, 0.0f);
  EXPECT_EQ(rig.Out(4, 0, 0), 255);
  EXPECT_EQ(rig.Out(4, 0, 1), 0);
  rig.Composite(-7, 0, 0.0f, 0.0f, 1.0f);
  EXPECT_EQ(rig.Out(0, 0, 2), 255);
}

TEST(GlueCompositor, OverBrightChannelsSpillIntoTheOthers) {
  Rig rig(Kind::k8, 3, false, 5, 1, RenderTarget::kHostImage);
  rig.Composite(0, 0, 1.2f, 0.5f, 0.5f);  // red 306: 5 to each other channel
  EXPECT_EQ(rig.Outs(0, 0), (std::vector<double>{255, 132, 132}));
  rig.Composite(1, 0, 300.5f / 255, 280.5f / 255, 10.5f / 255);  // two over: 16 to blue
  EXPECT_EQ(rig.Outs(1, 0), (std::vector<double>{255, 255, 26}));
  // A spill that overflows the next channel passes its excess on.
  rig.Composite(2, 0, 2.0f, 1.0f, 0.0f);
  EXPECT_EQ(rig.Outs(2, 0), (std::vector<double>{255, 255, 58}));
  // All three over: nothing to spill into.
  rig.Composite(3, 0, 3.0f, 2.0f, 1.5f);
  EXPECT_EQ(rig.Out(3, 0, 0) + rig.Out(3, 0, 1) + rig.Out(3, 0, 2), 3 * 255);
}

TEST(GlueCompositor, AlphaGoesIntoTheTransparencyPlane) {
  Rig rig(Kind::k8, 3, true, 3, 1, RenderTarget::kHostImage);
  rig.Composite(0, 0, 0.1f, 0.2f, 0.3f, 0.995f);
  EXPECT_EQ(rig.Out(0, 0, 3), 255);
  rig.Composite(1, 0, 0.1f, 0.2f, 0.3f, 0.5f);
  EXPECT_EQ(rig.Out(1, 0, 3), 128);
  EXPECT_EQ(rig.Out(1, 0, 2), 76);
}

TEST(GlueCompositor, GreyImagesGetTheLumaOfTheSpilledColour) {
  Rig rig(Kind::k8, 1, false, 5, 1, RenderTarget::kHostImage);
  rig.Composite(1, 0, 1.0f, 0.0f, 0.0f);
  EXPECT_EQ(rig.Out(1, 0, 0), 76);
  EXPECT_TRUE(rig.Untouched(2, 0, 0));
  rig.Composite(2, 0, 1.2f, 0.5f, 0.5f);  // (306, 132, 132) after the spill
  EXPECT_EQ(rig.Out(2, 0, 0), 183);
}

TEST(GlueCompositor, FloatImagesGetTheRenderedLightWithoutGlue) {
  Rig rig(Kind::kFloat, 3, false, 3, 1, RenderTarget::kHostImage);
  rig.params.glue = kGlueLighten;
  rig.Composite(1, 0, 1.75f, 0.25f, 0.0f);
  EXPECT_EQ(rig.Outs(1, 0), (std::vector<double>{1.75, 0.25, 0.0}));
  Rig grey(Kind::kFloat, 1, false, 3, 1, RenderTarget::kHostImage);
  grey.Composite(0, 0, 1.0f, 1.0f, 1.0f);
  EXPECT_NEAR(grey.Out(0, 0, 0), 1.0, 1e-6);
}

TEST(GlueCompositor, PreviewShowsTheCheckerboardThroughTheMask) {
  Rig rig(Kind::k8, 3, false, 11, 3, RenderTarget::kPreview);
  std::vector<std::uint8_t> mask(11 * 3, 255);
  mask[0 * 11 + 1] = 0;    // (1, 0): light square
  mask[0 * 11 + 9] = 0;    // (9, 0): dark square
  mask[2 * 11 + 4] = 128;  // (4, 2): weight 129
  rig.SetMask(mask);
  rig.Composite(1, 0, 0.5f, 0.5f, 0.5f);
  rig.Composite(9, 0, 0.5f, 0.5f, 0.5f);
  rig.Composite(4, 2, 0.0f, 0.0f, 0.0f);
  rig.Composite(6, 1, 0.2f, 0.4f, 0.6f);
  EXPECT_EQ(rig.Out(1, 0, 0), 255);
  EXPECT_EQ(rig.Out(9, 0, 2), 204);
  EXPECT_EQ(rig.Out(4, 2, 1), (127 * 255) >> 8);
  EXPECT_EQ(rig.Out(6, 1, 0), 51);  // full selection: the result itself
  EXPECT_EQ(rig.Out(6, 1, 2), 153);
  EXPECT_TRUE(rig.Untouched(6, 0, 0));
  // Rows outside the supplied mask rows count as unselected.
  rig.job.destination.mask.lastRow = 1;
  rig.Composite(0, 2, 1.0f, 1.0f, 1.0f);
  EXPECT_EQ(rig.Out(0, 2, 0), 255);
  rig.Composite(8, 2, 1.0f, 0.0f, 0.0f);
  EXPECT_EQ(rig.Out(8, 2, 0), 204);
}

TEST(GlueCompositor, PreviewWeighsByAlphaWithTransparency) {
  Rig rig(Kind::k8, 3, true, 5, 3, RenderTarget::kPreview);  // no mask: full selection
  rig.Composite(2, 1, 0.0f, 0.0f, 0.0f, 0.5f);
  EXPECT_EQ(rig.Out(2, 1, 0), (128 * 255) >> 8);
  EXPECT_EQ(rig.Out(2, 1, 3), 255);
}

struct ExportRig {
  Rig rig;
  TiledImage image{};
  ExportRig(Kind kind, std::int32_t format)
      : rig(kind, 3, false, 1, 1, RenderTarget::kExportImage) {
    InitTiledImage(image);
    EXPECT_TRUE(CreateTiledImage(image, 7, 3, format));
    rig.job.destination = ImageDestination(image, rig.job.destination.kind, false);
  }
  ~ExportRig() { ReleaseTiledImage(image); }
};

TEST(GlueCompositor, ExportWritesFourChannelsIntoTheImage) {
  ExportRig e(Kind::k8, 3);
  const std::int32_t source[4] = {10, 200, 30, 255};
  WriteChannels(e.image, 6, 2, 0, source);
  e.rig.params.glue = kGlueLighten;
  e.rig.Composite(6, 2, 0.4f, 0.4f, 0.4f, 1.0f);
  EXPECT_EQ(ReadPacked(e.image, 6, 2, 0), PackChannels(102, 200, 102, 255));
  e.rig.Composite(50, -4, 1.0f, 0.0f, 0.0f, 0.5f);  // clamped to (6, 0)
  EXPECT_EQ(ReadPacked(e.image, 6, 0, 0), PackChannels(255, 0, 0, 128));
}

TEST(GlueCompositor, ExportConvertsDeeperImagesToEightBits) {
  ExportRig deep(Kind::k16, 3);
  deep.rig.Composite(1, 1, 16383.0f / 32768.0f, 1.0f, 0.0f, 1.0f);  // (16383 + 1) >> 7 = 128
  EXPECT_EQ(ReadPacked(deep.image, 1, 1, 0), PackChannels(128, 255, 0, 255));

  ExportRig wide(Kind::k16, 4);
  wide.rig.Composite(1, 1, 0.5f, 1.0f, 0.0f, 1.0f);
  std::int32_t got[4];
  ReadChannels(wide.image, 1, 1, 0, got);
  EXPECT_EQ(std::vector<int>(got, got + 4), (std::vector<int>{16384, 32768, 0, 32768}));

  ExportRig floating(Kind::kFloat, 3);
  floating.rig.Composite(2, 0, 0.25f, 1.0f, 0.0f, 1.0f);
  EXPECT_EQ(ReadPacked(floating.image, 2, 0, 0), PackChannels(127, 255, 0, 255));

  ExportRig floats(Kind::kFloat, 9);
  floats.rig.Composite(2, 0, 0.25f, 1.5f, 0.0f, 1.0f);
  float f[4];
  ReadChannelsFloat(floats.image, 2, 0, 0, f);
  EXPECT_EQ(std::vector<float>(f, f + 4), (std::vector<float>{0.25f, 1.5f, 0.0f, 1.0f}));
}

TEST(GlueCompositor, NothingIsWrittenWithoutBuffersOrForOtherModes) {
  Rig rig(Kind::k8, 3, false, 3, 1, RenderTarget::kHostImage);
  rig.job.destination.rows.inData = nullptr;
  rig.Composite(0, 0, 1.0f, 1.0f, 1.0f);
  EXPECT_TRUE(rig.Untouched(0, 0, 0));
  rig.job.destination.rows.inData = rig.in.data();
  rig.job.destination.kind = ImageKind::kOther;
  rig.Composite(0, 0, 1.0f, 1.0f, 1.0f);
  EXPECT_TRUE(rig.Untouched(0, 0, 0));
  Rig exportWithoutImage(Kind::k8, 3, false, 3, 1, RenderTarget::kExportImage);
  exportWithoutImage.Composite(0, 0, 1.0f, 1.0f, 1.0f);  // must not crash
}

}  // namespace
}  // namespace stellane
