// PluginMain answering every selector against the test host: the about box,
// the globals in the data word, the new parameter record (the one place the
// defaults are pinned), dispatch errors, and the balance of handles and
// buffers over whole runs on every image kind. (The refusals at start are
// checked with their messages under Windows, by the Wine module tests.)
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "export/PsdJob.h"
#include "host/Globals.h"
#include "host/HostUiHeadless.h"
#include "host/PluginEntry.h"
#include "host/RenderJobs.h"
#include "params/RenderParams.h"
#include "testhost/TestHost.h"

namespace stellane {
namespace {

using testhost::HostConfig;
using testhost::Image;
using testhost::TestHost;

std::unique_ptr<TestHost> MakeHost(HostConfig config = {}, int width = 12, int height = 9,
                                   int colorPlanes = 3, int depth = 8) {
  auto host = std::make_unique<TestHost>(PluginMainImpl, std::move(config));
  host->SetImage(Image::Make(width, height, colorPlanes, depth));
  return host;
}

Globals* GlobalsOf(const TestHost& host) {
  const auto h = reinterpret_cast<ps::Handle>(host.DataWord());
  return host.IsLiveHandle(h) ? reinterpret_cast<Globals*>(*h) : nullptr;
}

// The about box allocates nothing; globals are fresh only to the parameters
// call that created them, not to a later one nor after another selector.
TEST(PluginMainGlobals, AboutAllocatesNothingAndFreshFlagMarksOnlyTheCreatingCall) {
  auto about = MakeHost();
  const int shownBefore = HeadlessUi().aboutBoxes;
  EXPECT_EQ(about->About(), 0);
  EXPECT_EQ(HeadlessUi().aboutBoxes, shownBefore + 1);
  EXPECT_EQ(about->Log().handlesAllocated + about->Log().buffersAllocated, 0);
  EXPECT_EQ(about->DataWord(), 0);

  auto host = MakeHost();
  ASSERT_EQ(host->Call(ps::filterSelectorParameters), 0);
  ASSERT_NE(GlobalsOf(*host), nullptr);
  EXPECT_EQ(GlobalsOf(*host)->freshGlobals, 1);
  ASSERT_EQ(host->Call(ps::filterSelectorParameters), 0);
  EXPECT_EQ(GlobalsOf(*host)->freshGlobals, 0);
  auto other = MakeHost();
  ASSERT_EQ(other->Call(ps::filterSelectorPrepare), 0);
  ASSERT_EQ(other->Call(ps::filterSelectorParameters), 0);
  EXPECT_EQ(GlobalsOf(*other)->freshGlobals, 0);
}

// ---- The parameter record

TEST(PluginMainRecord, NewRecordHoldsTheCreationValuesAndDefaults) {
  auto host = MakeHost();
  ASSERT_EQ(host->Call(ps::filterSelectorParameters), 0);
  auto* p = host->ParametersAs<RenderParams>();
  ASSERT_NE(p, nullptr);

  // The parameters selector asks for the dialog; no preview, the host image.
  EXPECT_EQ(std::vector<int>({p->showDialog, p->previewEnabled, p->previewZoom, p->renderTarget,
                              p->glue, p->randomSeed}),
            std::vector<int>({1, 0, 1, 0, 1, 67676767}));
  EXPECT_STREQ(p->settingsFileName, "Stellane settings.q9r");

  // sqrt(1 - x*x - y*y) in single precision is 0x3E8C675D; in double
  // precision it would round to 0x3E8C675F.
  std::uint32_t zBits;
  std::memcpy(&zBits, &p->vector1.z, sizeof zBits);
  EXPECT_EQ(zBits, 0x3E8C675Du);
  EXPECT_EQ(
      std::vector<float>({p->vector1.x, p->vector1.y, p->vector2.x, p->vector2.y, p->vector2.z}),
      std::vector<float>({-0.68f, -0.68f, 0.0f, -1.0f, 0.0f}));

  // colorA1 227, 220, 27; colorA2 98, 213, 143; colorB2 125, 126, 106; colorB1 101, 137, 153.
  std::vector<int> colours;
  for (const Color16* c : {&p->colorA1, &p->colorA2, &p->colorB2, &p->colorB1, &p->spareColor1,
                           &p->spareColor2, &p->spareColor3, &p->spareColor4})
    colours.insert(colours.end(), {c->red, c->green, c->blue});
  EXPECT_EQ(colours, std::vector<int>({58339, 56540, 6939,  25186, 54741, 36751, 32125, 32382,
                                       27242, 25957, 35209, 39321, 3289,  5921,  18421, 65535,
                                       65535, 65535, 28835, 24903, 13107, 0,     0,     0}));

  const std::vector<int> expected = {32, 50, 80, 80, 43, 29, 0,  30, 4, 50, 62, 0,  0, 0,  0,
                                     16, 57, 48, 62, 60, 59, 12, 55, 4, 0,  26, 59, 0, 67, 0};
  const std::vector<int> actual = {
      p->spareInt1,  p->spareInt2,   p->spareInt3,  p->spareInt4,   p->paramA,     p->density,
      p->spareInt5,  p->spareInt6,   p->spareInt7,  p->spareInt8,   p->brightness, p->spareInt9,
      p->spareInt10, p->spareInt11,  p->spareInt17, p->nebulaScale, p->texture,    p->contrast,
      p->starScale,  p->fibrousness, p->spareInt12, p->depth,       p->spareInt13, p->spareInt14,
      p->spareInt15, p->opacity,     p->paramB,     p->spareInt16,  p->color,      p->spareInt18};
  EXPECT_EQ(actual, expected);

  // LoadDefaults keeps the file name and the spares the table does not set.
  p->spareColor4 = {1, 2, 3};
  p->spareInt17 = 99;
  std::strcpy(p->settingsFileName, "mine.q9r");
  p->density = 5;
  p->glue = 40;
  p->randomSeed = 1;
  LoadDefaults(*p);
  EXPECT_EQ(std::vector<int>({p->spareColor4.red, p->spareColor4.green, p->spareColor4.blue,
                              p->spareInt17, p->density, p->glue, p->randomSeed}),
            std::vector<int>({1, 2, 3, 99, 29, 1, 67676767}));
  EXPECT_STREQ(p->settingsFileName, "mine.q9r");
}

// ---- Dispatch errors

TEST(PluginMainDispatch, UnknownSelectorAnswersBadParametersAndNoHandlesOutOfMemory) {
  auto host = MakeHost();
  EXPECT_EQ(host->Call(6), -30100);
  const auto globals = reinterpret_cast<ps::Handle>(host->DataWord());
  ASSERT_TRUE(host->IsLiveHandle(globals));
  EXPECT_EQ(host->LockCount(globals), 0);
  ASSERT_TRUE(host->IsLiveHandle(host->ParametersHandle()));
  EXPECT_EQ(host->LockCount(host->ParametersHandle()), 0);
  EXPECT_EQ(host->ParametersAs<RenderParams>()->randomSeed, 67676767);

  EXPECT_EQ(host->Call(1000), -30100);
  EXPECT_EQ(host->OutstandingHandles(), 2);

  // Out of memory when the handles cannot be had.
  for (int granted : {0, 1}) {  // no globals; globals but no parameter record
    HostConfig config;
    config.handlesBeforeRefusal = granted;
    auto refusing = MakeHost(config);
    EXPECT_EQ(refusing->Call(ps::filterSelectorParameters), -108) << granted;
    EXPECT_EQ(refusing->TotalHandleLocks(), 0) << granted;
    EXPECT_EQ(refusing->ParametersHandle(), nullptr);
  }
  HostConfig config;
  config.offerHandleSuite = false;
  auto noSuite = MakeHost(config);
  EXPECT_EQ(noSuite->Call(ps::filterSelectorPrepare), -108);
  EXPECT_EQ(noSuite->DataWord(), 0);
}

// ---- Whole runs on every image kind: handles and buffers balance

TEST(PluginMainRun, RunsOnEveryImageKindWithAndWithoutSelection) {
  for (int colorPlanes : {1, 3})
    for (int depth : {8, 16, 32})
      for (bool transparency : {false, true})
        for (bool selection : {false, true}) {
          const std::string kind = std::to_string(colorPlanes) + "/" + std::to_string(depth) +
                                   (transparency ? "/alpha" : "") + (selection ? "/mask" : "");
          auto host = std::make_unique<TestHost>(PluginMainImpl);
          host->SetImage(Image::Make(6, 5, colorPlanes, depth, transparency));
          if (selection) host->SetSelection(testhost::Selection::Filled(6, 5, 128));
          for (int run = 0; run < 2; ++run) {
            const testhost::RunReport report = host->RunFilter({.withParameters = run == 0});
            EXPECT_EQ(report.result, 0) << kind;
            EXPECT_FALSE(report.hitCallCap) << kind;
            EXPECT_EQ(host->OutstandingBuffers(), 0) << kind;
            EXPECT_EQ(host->TotalHandleLocks(), 0) << kind;
            EXPECT_EQ(host->OutstandingHandles(), 2) << kind;  // the globals and the record
          }
          EXPECT_GT(host->Log().buffersAllocated, 0) << kind;
          EXPECT_TRUE(host->Log().protocolErrors.empty()) << kind;
        }
}

// ---- The image kind decides the compositor's units and the PSD export's
// depth: 16-bit and float only in their own modes at their own depth (depth
// 32 alone is float), everything else 8-bit or unhandled.

TEST(ImageKind, FollowsModeAndDepthAndGivesThePsdDepth) {
  const struct {
    std::int16_t mode, depth;
    ImageKind kind;
    std::int32_t psdBytes;  // anything neither 16-bit nor float is written in 8 bits
  } cases[] = {{ps::plugInModeRGBColor, 8, ImageKind::k8, 1},
               {ps::plugInModeRGB48, 16, ImageKind::k16, 2},
               {ps::plugInModeRGB96, 32, ImageKind::kFloat, 4},
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
  }
}

}  // namespace
}  // namespace stellane
