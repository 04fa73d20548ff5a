// The test host's pixel exchange, driven by hand through the record as a
// plug-in drives it: what a request buffer holds beyond the image's edges,
// at a coarser rate and for a subset of the planes, and what committing the
// output writes back. The picture is lopsided (every sample differs) so a
// swapped plane, a flipped row or an off-by-one column shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "host/RenderJobs.h"
#include "testhost/TestHost.h"

namespace {

using testhost::Image;
using testhost::TestHost;

constexpr int kWidth = 5, kHeight = 3;

void NoPlugin(std::int16_t, void*, std::intptr_t*, std::int16_t* result) { *result = 0; }

// Sample (x, y, plane) of the picture: 1..55, all different.
int Value(int x, int y, int plane) { return 1 + x + 5 * y + 20 * plane; }

Image Picture() {
  Image image = Image::Make(kWidth, kHeight, 3, 8);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int p = 0; p < 3; ++p) image.Set(x, y, p, Value(x, y, p));
  return image;
}

// A run on the picture, for requests set by hand in the record.
ps::FilterRecord& BeginRunOnPicture(TestHost& host) {
  host.SetImage(Picture());
  host.BeginRun();
  return host.Record();
}

// Where a buffer sample should come from: a picture sample or the padding.
enum class Expect { kEdge, kPadding };

struct InputCase {
  const char* name;
  ps::Rect16 rect;  // top, left, bottom, right
  int lo, hi;
  int rate;  // whole multiples of one
  std::int16_t padding;
  Expect outside;
};

// Reads the input buffer for `c` and checks every sample of it: inside the
// picture (sampled at the rate) it holds the picture; outside, the clamped
// edge or the constant padding.
TEST(PixelExchange, InputBufferHoldsThePictureAndPaddingAsAsked) {
  const InputCase cases[] = {
      {"inside, planes 1..2", {1, 1, 3, 4}, 1, 2, 1, ps::plugInWantsEdgeReplication, Expect::kEdge},
      {"beyond every edge, edge copies",
       {-2, -1, 5, 7},
       0,
       2,
       1,
       ps::plugInWantsEdgeReplication,
       Expect::kEdge},
      {"beyond every edge, constant 7", {-2, -1, 5, 7}, 0, 1, 1, 7, Expect::kPadding},
      {"beyond the right, no padding wanted",
       {0, 3, 2, 8},
       2,
       2,
       1,
       ps::plugInDoesNotWantPadding,
       Expect::kPadding},
      {"every second sample", {0, 0, 2, 3}, 0, 2, 2, ps::plugInWantsEdgeReplication, Expect::kEdge},
      {"every second sample, past the edge", {0, 1, 3, 4}, 1, 1, 2, 9, Expect::kPadding},
  };
  for (const InputCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestHost host(NoPlugin);
    host.Config().extraRowBytes = 3;
    ps::FilterRecord& r = BeginRunOnPicture(host);
    r.inRect = c.rect;
    r.inLoPlane = std::int16_t(c.lo);
    r.inHiPlane = std::int16_t(c.hi);
    r.inputRate = c.rate << 16;
    r.inputPadding = c.padding;
    ASSERT_EQ(host.ServePixels(), ps::noErr);
    const int planes = c.hi - c.lo + 1;
    const int width = c.rect.right - c.rect.left;
    ASSERT_EQ(r.inRowBytes, width * planes + 3);
    ASSERT_EQ(r.inColumnBytes, planes);
    const auto* data = static_cast<const std::uint8_t*>(r.inData);
    const int padValue = c.padding >= 0 ? c.padding : 0;
    for (int y = c.rect.top; y < c.rect.bottom; ++y)
      for (int x = c.rect.left; x < c.rect.right; ++x)
        for (int p = 0; p < planes; ++p) {
          const int ix = x * c.rate, iy = y * c.rate;
          const bool inside = ix >= 0 && iy >= 0 && ix < kWidth && iy < kHeight;
          const int expected =
              inside || c.outside == Expect::kEdge
                  ? Value(std::clamp(ix, 0, kWidth - 1), std::clamp(iy, 0, kHeight - 1), c.lo + p)
                  : padValue;
          const int got = data[(y - c.rect.top) * r.inRowBytes + (x - c.rect.left) * planes + p];
          ASSERT_EQ(got, expected) << "x " << x << " y " << y << " plane " << c.lo + p;
        }
    host.EndRun();
  }
}

TEST(PixelExchange, OutsideTheImageIsAnErrorWhenThePlugInSaysSo) {
  TestHost host(NoPlugin);
  ps::FilterRecord& r = BeginRunOnPicture(host);
  r.inRect = {0, 0, 3, 6};  // one column too wide
  r.inLoPlane = 0;
  r.inHiPlane = 2;
  r.inputPadding = ps::plugInWantsErrorOnBoundsException;
  EXPECT_EQ(host.ServePixels(), ps::paramErr);
  host.EndRun();
}

// Output for one plane over a rectangle that overhangs the image: only the
// overlap is written, only in that plane; the other planes keep the picture.
TEST(PixelExchange, CommittedOutputLandsInItsPlaneAndInsideTheImage) {
  TestHost host(NoPlugin);
  ps::FilterRecord& r = BeginRunOnPicture(host);
  r.outRect = {1, 3, 4, 7};  // rows 1..3, columns 3..6: overlaps x 3..4, y 1..2
  r.outLoPlane = r.outHiPlane = 1;
  ASSERT_EQ(host.ServePixels(), ps::noErr);
  std::memset(r.outData, 200, std::size_t(r.outRowBytes) * 3);
  host.EndRun();
  const Image& image = host.GetImage();
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int p = 0; p < 3; ++p) {
        const bool written = p == 1 && x >= 3 && y >= 1;
        EXPECT_EQ(image.Get(x, y, p), written ? 200 : Value(x, y, p))
            << "x " << x << " y " << y << " plane " << p;
      }
}

// The image kind decides the compositor's units and the PSD export's depth:
// 16-bit and float only in their own modes at their own depth (depth 32
// alone is float), everything else 8-bit or unhandled.
TEST(PixelExchange, ImageKindFollowsModeAndDepth) {
  using stellane::ImageKind;
  const struct {
    std::int16_t mode, depth;
    ImageKind kind;
  } cases[] = {{ps::plugInModeRGBColor, 8, ImageKind::k8},
               {ps::plugInModeGrayScale, 8, ImageKind::k8},
               {ps::plugInModeRGB48, 16, ImageKind::k16},
               {ps::plugInModeGray16, 16, ImageKind::k16},
               {ps::plugInModeRGB96, 32, ImageKind::kFloat},
               {ps::plugInModeGray32, 32, ImageKind::kFloat},
               {ps::plugInModeRGBColor, 32, ImageKind::kFloat},
               {ps::plugInModeLabColor, 8, ImageKind::kOther},
               {ps::plugInModeRGB48, 8, ImageKind::kOther}};
  for (const auto& c : cases) {
    ps::FilterRecord fr{};
    fr.imageMode = c.mode;
    fr.depth = c.depth;
    EXPECT_EQ(stellane::ImageKindOf(fr), c.kind) << c.mode << " " << c.depth;
  }
}

}  // namespace
