// The test host itself, driven by small scripted plug-ins: pixel requests
// served from the image at the requested rate and padding, output written
// back, a failed run leaving the picture untouched, and the descriptor
// suites keeping what was recorded for the next run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "testhost/TestHost.h"

namespace {

using testhost::HostConfig;
using testhost::Image;
using testhost::TestHost;

// The scripted plug-in's body: selector, record, result.
std::function<void(std::int16_t, ps::FilterRecord*, std::int16_t*)> script;

void ScriptedPluginMain(std::int16_t selector, void* block, std::intptr_t*, std::int16_t* result) {
  *result = 0;
  if (selector != ps::filterSelectorAbout)
    script(selector, static_cast<ps::FilterRecord*>(block), result);
}

// A lopsided picture: every sample differs from its neighbours and planes.
Image TestPicture(int width, int height, int colorPlanes, int depth) {
  Image im = Image::Make(width, height, colorPlanes, depth);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int p = 0; p < colorPlanes; ++p) {
        const double v = 10 * y + x + 100 * p;
        im.Set(x, y, p, depth == 32 ? v / 1000.0 : v);
      }
  return im;
}

void RequestRow(ps::FilterRecord* fr, int y) {
  fr->inRect = fr->outRect = {std::int16_t(y), fr->filterRect.left, std::int16_t(y + 1),
                              fr->filterRect.right};
  fr->inLoPlane = fr->outLoPlane = 0;
  fr->inHiPlane = fr->outHiPlane = std::int16_t(fr->planes - 1);
}

// Inverts the picture row by row, one row per continue call.
void InvertRowByRow(std::int16_t selector, ps::FilterRecord* fr, std::int16_t* result,
                    int cancelAtRow = -1) {
  static int row;
  if (selector == ps::filterSelectorStart) {
    row = 0;
    RequestRow(fr, fr->filterRect.top);
    return;
  }
  if (selector != ps::filterSelectorContinue) return;
  const int samples = (fr->filterRect.right - fr->filterRect.left) * fr->planes;
  auto* in = static_cast<std::uint8_t*>(fr->inData);
  auto* out = static_cast<std::uint8_t*>(fr->outData);
  for (int i = 0; i < samples; ++i) out[i] = std::uint8_t(255 - in[i]);
  if (row == cancelAtRow) *result = ps::userCanceledErr;
  if (++row == fr->filterRect.bottom - fr->filterRect.top)
    fr->inRect = fr->outRect = {0, 0, 0, 0};
  else
    RequestRow(fr, fr->filterRect.top + row);
}

TEST(TestHostPixels, OutputRowsAreWrittenBackInsideTheFilterRectangle) {
  script = [](std::int16_t s, ps::FilterRecord* fr, std::int16_t* r) { InvertRowByRow(s, fr, r); };
  HostConfig config;
  config.filterRect = testhost::Rect{1, 2, 4, 6};
  TestHost host(ScriptedPluginMain, config);
  const Image source = TestPicture(7, 5, 3, 8);
  host.SetImage(source);

  const testhost::RunReport run = host.RunFilter();
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.continueCalls, 3);
  EXPECT_EQ(run.rowsDelivered, 3);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      for (int p = 0; p < 3; ++p) {
        const bool inside = y >= 1 && y < 4 && x >= 2 && x < 6;
        EXPECT_EQ(host.GetImage().Get(x, y, p),
                  inside ? 255 - source.Get(x, y, p) : source.Get(x, y, p))
            << x << "," << y << "," << p;
      }
}

TEST(TestHostPixels, FailedRunLeavesThePictureAsItWas) {
  script = [](std::int16_t s, ps::FilterRecord* fr, std::int16_t* r) {
    InvertRowByRow(s, fr, r, 2);
  };
  TestHost host(ScriptedPluginMain);
  const Image source = TestPicture(4, 5, 1, 8);
  host.SetImage(source);
  const testhost::RunReport run = host.RunFilter();
  EXPECT_EQ(run.result, ps::userCanceledErr);
  EXPECT_TRUE(run.finishCalled);
  EXPECT_EQ(host.GetImage().data, source.data);
}

// Reads one request through advanceState into `captured`, as samples.
std::vector<double> captured;

void CaptureRequest(ps::FilterRecord* fr, ps::Rect16 rect, ps::Fixed rate, std::int16_t padding,
                    int plane) {
  fr->inRect = rect;
  fr->inLoPlane = fr->inHiPlane = std::int16_t(plane);
  fr->inputRate = rate;
  fr->inputPadding = padding;
  captured.clear();
  if (fr->advanceState() != ps::noErr) return;
  const int w = rect.right - rect.left;
  const int bytes = fr->depth / 8;
  for (int y = 0; y < rect.bottom - rect.top; ++y)
    for (int x = 0; x < w; ++x) {
      const auto* p = static_cast<const std::uint8_t*>(fr->inData) + y * fr->inRowBytes + x * bytes;
      if (bytes == 1) captured.push_back(*p);
      if (bytes == 2) captured.push_back(p[0] | p[1] << 8);
      if (bytes == 4) {
        float f;
        std::memcpy(&f, p, 4);
        captured.push_back(f);
      }
    }
  fr->inRect = {0, 0, 0, 0};
}

TEST(TestHostPixels, SamplesAtTheInputRateWithPadding) {
  std::vector<double> replicated, constant;
  ps::OSErr boundsError = ps::noErr;
  script = [&](std::int16_t s, ps::FilterRecord* fr, std::int16_t*) {
    if (s != ps::filterSelectorStart) return;
    // Rate 2 over a rectangle reaching one sample past the top-left corner.
    CaptureRequest(fr, {-1, -1, 3, 4}, 2 * ps::kFixedOne, ps::plugInWantsEdgeReplication, 1);
    replicated = captured;
    CaptureRequest(fr, {5, 7, 7, 9}, ps::kFixedOne, 255, 0);
    constant = captured;
    fr->inRect = {0, 0, 1, 9};
    fr->inputPadding = ps::plugInWantsErrorOnBoundsException;
    boundsError = fr->advanceState();
    fr->inRect = {0, 0, 0, 0};
  };
  TestHost host(ScriptedPluginMain);
  const Image source = TestPicture(8, 6, 3, 16);
  host.SetImage(source);
  EXPECT_EQ(host.RunFilter().result, 0);

  // Edge replication repeats the corner.
  ASSERT_EQ(replicated.size(), 4u * 5u);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      const int sy = std::max(0, 2 * (y - 1)), sx = std::max(0, 2 * (x - 1));
      EXPECT_EQ(replicated[y * 5 + x], source.Get(sx, sy, 1)) << x << "," << y;
    }
  // A constant pads in the image's range (255 is white: 32768).
  ASSERT_EQ(constant.size(), 4u);
  EXPECT_EQ(constant[0], source.Get(7, 5, 0));
  EXPECT_EQ(constant[1], 32768);
  EXPECT_EQ(constant[2], 32768);
  EXPECT_EQ(constant[3], 32768);
  // Asking for an error on bounds gets one.
  EXPECT_NE(boundsError, ps::noErr);
}

TEST(TestHostScripting, RecordedDescriptorPlaysBackOnTheNextRun) {
  script = [](std::int16_t s, ps::FilterRecord* fr, std::int16_t* r) {
    ps::PIDescriptorParameters* d = fr->descriptorParameters;
    if (s == ps::filterSelectorStart) {
      ps::DescriptorKeyID keys[] = {ps::FourCC("seed"), ps::FourCC("mode"), ps::FourCC("gone"), 0};
      if (ps::PIReadDescriptor rd =
              d->readDescriptorProcs->openReadDescriptorProc(d->descriptor, keys)) {
        ps::DescriptorKeyID key;
        ps::DescriptorTypeID type;
        ps::int32 flags;
        while (d->readDescriptorProcs->getKeyProc(rd, &key, &type, &flags)) {
        }
        EXPECT_EQ(keys[0], ps::FourCC("gone"));  // the keys found are struck out
        EXPECT_EQ(keys[1], 0u);
        *r = d->readDescriptorProcs->closeReadDescriptorProc(rd);
        fr->handleProcs->disposeProc(d->descriptor);
        d->descriptor = nullptr;
      }
    }
    if (s == ps::filterSelectorFinish) {
      ps::PIWriteDescriptor wd = d->writeDescriptorProcs->openWriteDescriptorProc();
      d->writeDescriptorProcs->putIntegerProc(wd, ps::FourCC("seed"), -7);
      d->writeDescriptorProcs->putEnumeratedProc(wd, ps::FourCC("mode"), ps::FourCC("GLty"),
                                                 ps::FourCC("GL62"));
      d->writeDescriptorProcs->closeWriteDescriptorProc(wd, &d->descriptor);
    }
  };
  HostConfig config;
  config.playBackRecorded = true;
  TestHost host(ScriptedPluginMain, config);
  host.SetImage(Image::Make(2, 2, 1, 8));
  EXPECT_EQ(host.RunFilter().result, 0);
  ASSERT_TRUE(host.RecordedDescriptor().has_value());
  const auto seed = testhost::FindItem(*host.RecordedDescriptor(), ps::FourCC("seed"));
  ASSERT_TRUE(seed.has_value());
  EXPECT_EQ(seed->integer, -7);
  EXPECT_EQ(testhost::FindItem(*host.RecordedDescriptor(), ps::FourCC("mode"))->enumValue,
            ps::FourCC("GL62"));

  // The second run reads both keys; "gone" is missing, which the close reports.
  EXPECT_EQ(host.RunFilter().startResult, ps::errAEParamMissed);
  EXPECT_EQ(host.Log().keysRead.size(), 2u);
  EXPECT_EQ(host.OutstandingHandles(), 0);
}

}  // namespace

namespace {

ps::OSErr ChooseColor(ps::FilterRecord* fr, std::int16_t space, std::int16_t out[3]) {
  ps::ColorServicesInfo info{};
  info.infoSize = sizeof info;
  info.selector = ps::plugIncolorServicesChooseColor;
  info.sourceSpace = ps::plugIncolorServicesRGBSpace;
  info.resultSpace = space;
  const ps::OSErr err = fr->colorServices(&info);
  for (int i = 0; i < 3; ++i) out[i] = info.colorComponents[i];
  return err;
}

TEST(TestHostServices, DisplayPixelsKeepsACopyOfTheDrawnRectangle) {
  // Two rows of three RGB pixels with a padding byte at each row's end.
  static const std::uint8_t pixels[2][10] = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 0},
                                             {11, 12, 13, 14, 15, 16, 17, 18, 19, 0}};
  ps::OSErr answer = -1;
  script = [&](std::int16_t s, ps::FilterRecord* fr, std::int16_t*) {
    if (s != ps::filterSelectorStart) return;
    ps::PSPixelMap map{};
    map.version = 1;
    map.bounds = {0, 0, 2, 3};
    map.imageMode = ps::plugInModeRGBColor;
    map.rowBytes = 10;
    map.colBytes = 3;
    map.planeBytes = 1;
    map.baseAddr = const_cast<std::uint8_t*>(&pixels[0][0]);
    const ps::VRect area = {0, 1, 2, 3};
    answer = fr->displayPixels(&map, &area, 5, 6, nullptr);
  };
  TestHost host(ScriptedPluginMain);
  host.SetImage(Image::Make(2, 2, 3, 8));
  host.RunFilter();
  EXPECT_EQ(answer, ps::noErr);
  ASSERT_EQ(host.Log().displays.size(), 1u);
  const testhost::DisplayCall& call = host.Log().displays[0];
  EXPECT_EQ(call.dstRow, 5);
  EXPECT_EQ(call.dstCol, 6);
  const std::vector<std::uint8_t> expected = {4, 5, 6, 7, 8, 9, 14, 15, 16, 17, 18, 19};
  EXPECT_EQ(call.pixels, expected);
}

TEST(TestHostServices, ColourPickerAnswersTheConfiguredColourOrCancels) {
  std::int16_t rgb[3] = {}, grey[3] = {};
  ps::OSErr rgbAnswer = -1, greyAnswer = -1, shortInfo = 0;
  script = [&](std::int16_t s, ps::FilterRecord* fr, std::int16_t*) {
    if (s != ps::filterSelectorStart) return;
    rgbAnswer = ChooseColor(fr, ps::plugIncolorServicesRGBSpace, rgb);
    greyAnswer = ChooseColor(fr, ps::plugIncolorServicesGraySpace, grey);
    ps::ColorServicesInfo old{};
    old.infoSize = 40;  // shorter than the record
    shortInfo = fr->colorServices(&old);
  };
  HostConfig config;
  config.chosenColor[0] = 200;
  config.chosenColor[1] = 100;
  config.chosenColor[2] = 0;
  TestHost host(ScriptedPluginMain, config);
  host.SetImage(Image::Make(1, 1, 3, 8));
  host.RunFilter();
  EXPECT_EQ(rgbAnswer, ps::noErr);
  EXPECT_EQ(rgb[0], 200);
  EXPECT_EQ(rgb[1], 100);
  EXPECT_EQ(rgb[2], 0);
  EXPECT_EQ(greyAnswer, ps::noErr);
  EXPECT_EQ(grey[0], 118);  // the luma of (200, 100, 0)
  EXPECT_NE(shortInfo, ps::noErr);

  host.Config().chooseColorCancels = true;
  host.RunFilter();
  EXPECT_EQ(rgbAnswer, ps::userCanceledErr);
}

}  // namespace
