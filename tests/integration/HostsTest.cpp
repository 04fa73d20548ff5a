// The plug-in in the hands of third-party hosts that bend the plug-in
// interface. Each quirk alone and each known host whole runs cleanly with the
// symptom the quirk would cause checked; the whole-host profiles of pspiHost
// and GIMP's pspi bridge also run every picture shape, a rectangle and a
// selection, the dialog opened and confirmed, two runs in one session, each
// held against the same run in a plain host, and the preview against what the
// plug-in rendered for it.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "DialogRig.h"
#include "params/SettingsFile.h"
#include "params/TempFolder.h"

namespace dialogtest {
namespace {

using testhost::HostConfig;
using testhost::Image;
using testhost::Rect;
using testhost::Selection;
using testhost::TestHost;

enum class Area { Whole, Rectangle, Mask };

struct Shape {
  const char* name;
  int colorPlanes;
  bool alpha;
};

constexpr Shape kShapes[] = {
    {"RGB", 3, false}, {"RGBA", 3, true}, {"grey", 1, false}, {"grey+alpha", 1, true}};
constexpr Area kAreas[] = {Area::Whole, Area::Rectangle, Area::Mask};
constexpr int kWidth = 37, kHeight = 23;
// The rectangle, and the selection's bounds: fully selected but for a
// half-selected first column.
constexpr Rect kInner{4, 6, 19, 30};

Image Picture(const Shape& shape) {
  Image image = Image::Make(kWidth, kHeight, shape.colorPlanes, 8, shape.alpha);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      for (int c = 0; c < shape.colorPlanes; ++c) image.Set(x, y, c, RampValue(x, y, c));
      if (shape.alpha) image.Set(x, y, shape.colorPlanes, 255 - 3 * x - y);
    }
  return image;
}

bool Inside(const Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

Selection InnerSelection() {
  Selection sel = Selection::Filled(kWidth, kHeight, 0);
  for (int y = kInner.top; y < kInner.bottom; ++y)
    for (int x = kInner.left; x < kInner.right; ++x)
      sel.coverage[std::size_t(y) * kWidth + x] = x == kInner.left ? 128 : 255;
  return sel;
}

// Nebulae only: stars are placed from the clock. Hosts without scripting
// run with the plug-in's cached settings.
void CacheNebulaOnlySettings() {
  stellane::RenderParams params;
  stellane::InitNewRenderParams(params);
  params.density = 0;
  params.glue = 10;  // "screen": the result depends on the source
  char path[stellane::kPathBytes];
  ASSERT_TRUE(stellane::TempFilePath(stellane::kCachedSettingsName, path));
  ASSERT_EQ(stellane::WriteSettingsFile(path, params, nullptr), 0);
}

// The same run in a host that follows the plug-in interface to the letter.
// GIMP masks the result itself and narrows the filter rectangle to the
// selection, so its reference filters that rectangle without a mask.
Image ReferenceRun(const HostConfig& profile, const Shape& shape, Area area) {
  HostConfig plain;
  plain.hostSig = ps::FourCC("TEST");
  plain.quirks.filterCaseZero = profile.quirks.filterCaseZero;
  if (area == Area::Rectangle ||
      (area == Area::Mask && profile.quirks.selectionOnlyNarrowsFilterRect))
    plain.filterRect = kInner;
  TestHost host(&stellane::PluginMainImpl, plain);
  host.SetImage(Picture(shape));
  EXPECT_EQ(host.RunFilter().result, 0);
  return host.GetImage();
}

// The output rows the preview rendered, against what the host shows of them
// from the top left of what it drew.
void ExpectPreviewShowsTheRender(const Globals& g, const TestHost& host) {
  const testhost::ShownScreen screen = testhost::ShowCalls(host.Log().displays);
  ASSERT_GT(screen.planes, 0) << "the preview drew nothing";
  const ps::FilterRecord& fr = *g.filterRecord;
  const int planes = fr.outHiPlane - fr.outLoPlane + 1;
  const int colours = fr.imageMode == ps::plugInModeGrayScale ? 1 : 3;
  ASSERT_EQ(screen.planes, colours);
  int wrong = 0;
  for (int y = 0; y < fr.outRect.bottom - fr.outRect.top; ++y)
    for (int x = 0; x < fr.outRect.right - fr.outRect.left; ++x) {
      const auto* rendered =
          static_cast<const std::uint8_t*>(fr.outData) + y * fr.outRowBytes + x * planes;
      const std::uint8_t* shown = screen.At(screen.top + y, screen.left + x);
      if ((!shown || !std::equal(rendered, rendered + colours, shown)) && wrong++ < 3)
        ADD_FAILURE() << "preview pixel " << x << "," << y;
    }
  EXPECT_EQ(wrong, 0) << "preview pixels shown wrongly";
}

void ExpectOutput(const Image& out, const Image& source, const Image& reference, const Shape& shape,
                  Area area, bool hostKeepsAlpha) {
  const Selection sel = InnerSelection();
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int p = 0; p < out.Planes(); ++p) {
        const double got = out.Get(x, y, p), from = source.Get(x, y, p);
        const double filtered = reference.Get(x, y, p);
        const int coverage = area == Area::Mask     ? sel.coverage[std::size_t(y) * kWidth + x]
                             : area == Area::Whole  ? 255
                             : Inside(kInner, x, y) ? 255
                                                    : 0;
        const bool alpha = shape.alpha && p == shape.colorPlanes;
        bool ok;
        if (coverage == 0 || (alpha && hostKeepsAlpha))
          ok = got == from;
        else if (coverage == 255)
          ok = got == filtered;
        else
          ok = got >= std::min(from, filtered) - 1 && got <= std::max(from, filtered) + 1;
        if (!ok && wrong++ < 3)
          ADD_FAILURE() << "pixel " << x << "," << y << " plane " << p << ": " << got << ", source "
                        << from << ", filtered " << filtered;
      }
  EXPECT_EQ(wrong, 0) << "output samples wrong";
}

// GIMP's bridge and pspiHost, each with all its quirks at once.
TEST(HostProfiles, EveryShapeAndAreaWithTheDialogAndTwoRuns) {
  CacheNebulaOnlySettings();
  for (const auto& [name, profile] :
       {std::pair{"pspiHost", testhost::PspiHostDll()}, {"GimpPspi", testhost::GimpPspiHost()}})
    for (const Shape& shape : kShapes)
      for (Area area : kAreas) {
        SCOPED_TRACE(std::string(name) + ", " + shape.name + ", area " + std::to_string(int(area)));
        const Image source = Picture(shape);
        const Image reference = ReferenceRun(profile, shape, area);
        TestHost host(&stellane::PluginMainImpl, profile);
        if (area == Area::Rectangle) host.Config().filterRect = kInner;
        if (area == Area::Mask) host.SetSelection(InnerSelection());
        for (int run = 0; run < 2; ++run) {
          SCOPED_TRACE("run " + std::to_string(run + 1));
          host.SetImage(source);
          host.ClearLog();
          FakeWindow window;
          int dialogs = 0;
          stellane::SetHeadlessDialogUser(&window, [&](Globals& g) {
            ++dialogs;
            ExpectPreviewShowsTheRender(g, host);
          });
          // The user picks the filter from the menu the first time; GIMP then
          // repeats it without the dialog, pspiHost shows it every time.
          const testhost::RunReport report = host.RunFilter({.withParameters = run == 0});
          EXPECT_EQ(report.result, 0);
          EXPECT_EQ(dialogs, run == 0 || profile.quirks.parametersEveryRun ? 1 : 0);
          EXPECT_TRUE(host.Log().protocolErrors.empty()) << host.Log().protocolErrors.front();
          EXPECT_EQ(host.OutstandingBuffers(), 0);
          EXPECT_EQ(host.TotalHandleLocks(), 0);
          EXPECT_TRUE(host.CanaryIntact());
          ExpectOutput(host.GetImage(), source, reference, shape, area,
                       profile.quirks.filterCaseZero);
        }
      }
  stellane::SetHeadlessDialogUser(nullptr, nullptr);
}

struct Quirk {
  const char* name;
  HostConfig config;
  std::intptr_t staleDataWord = 0;  // left in the data slot before the first run
};

using Q = testhost::HostQuirks;

HostConfig With(bool Q::*quirk, std::uint32_t hostSig = 0) {
  HostConfig config;
  config.quirks.*quirk = true;
  if (hostSig) config.hostSig = hostSig;
  return config;
}

// The known hosts whole, and each quirk alone. Every host gets the About
// box, then a run from the menu and a repeat run, on a picture with alpha.
TEST(HostQuirks, EveryHostAndQuirkRunsCleanly) {
  const Quirk quirks[] = {
      {"Photoshop", testhost::PhotoshopHost()},
      {"Affinity: suites of version and count 0", testhost::AffinityHost()},
      {"GIMP pspi", testhost::GimpPspiHost()},
      {"pspiHost", testhost::PspiHostDll()},
      {"Paint.NET: the record ends at 556 bytes", testhost::PaintDotNetHost()},
      {"IrfanView", testhost::IrfanViewHost()},
      {"descriptor parameters without procs", With(&Q::nullDescriptorProcs)},
      // A 4-byte data slot, holding a truncated word of an earlier process.
      {"narrow data slot", With(&Q::narrowDataWord, ps::FourCC("PMIG")), 0x7F3A5C10},
      {"garbage in the data slot", {}, std::intptr_t(0x0000DEAD0000BEE0)},
      {"fresh data word each run", With(&Q::freshDataWordEachRun)},
      {"empty parameters each run", With(&Q::freshParametersEachRun)},
      {"filterCase 0 with an alpha plane", With(&Q::filterCaseZero)},
      {"About result preset to 1", With(&Q::aboutResultPresetOne)},
      {"no Finish after success", With(&Q::noFinishAfterSuccess)},
      {"Parameters skipped", With(&Q::skipParameters)},
      {"handle sizes 0", With(&Q::handleSizeZero)},
      {"done only when every right edge is 0", With(&Q::doneOnlyWhenRightIsZero)},
      {"sampling rates preset to 0", With(&Q::ratesPresetZero)},
      {"buffer procs beyond the fifth empty", With(&Q::bufferSlotsBeyondFiveNull)},
  };
  TestHost plain(&stellane::PluginMainImpl);
  plain.SetImage(Image::Make(10, 7, 3, 8, true));
  const testhost::RunReport expected = plain.RunFilter();

  for (const Quirk& quirk : quirks) {
    SCOPED_TRACE(quirk.name);
    const testhost::HostQuirks& q = quirk.config.quirks;
    TestHost host(&stellane::PluginMainImpl, quirk.config);
    Image image = Image::Make(10, 7, 3, 8, true);
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) image.Set(x, y, 3, 200 - x - y);
    host.SetImage(image);
    if (quirk.staleDataWord) host.SetDataWord(quirk.staleDataWord);
    EXPECT_EQ(host.About(), 0);

    std::intptr_t word = 0;
    int handles = 0;
    for (int run = 0; run < 2; ++run) {
      SCOPED_TRACE(run == 0 ? "from the menu" : "repeated");
      if (run == 1) {
        auto* record = host.ParametersAs<stellane::RenderParams>();
        ASSERT_NE(record, nullptr);
        std::strcpy(record->sourceFolder, "kept");
      }
      host.ClearLog();
      const testhost::RunReport report = host.RunFilter({.withParameters = run == 0});
      EXPECT_EQ(report.result, 0);
      EXPECT_FALSE(report.hitCallCap);
      EXPECT_EQ(host.OutstandingBuffers(), 0);
      EXPECT_EQ(host.TotalHandleLocks(), 0);
      EXPECT_TRUE(host.Log().protocolErrors.empty()) << host.Log().protocolErrors.front();
      EXPECT_TRUE(host.CanaryIntact());
      EXPECT_GT(host.Log().buffersAllocated, 0);
      if (q.zeroSuiteVersions) {
        EXPECT_EQ(host.Log().bufferRefusals, 0);
      }
      // Rows are asked for at full size, whatever rate the host preset.
      ASSERT_FALSE(host.Log().requests.empty());
      for (const testhost::PixelRequest& request : host.Log().requests)
        EXPECT_EQ(request.inputRate, ps::kFixedOne);
      // Done means all-zero rectangles: as many calls as in a plain host.
      EXPECT_EQ(report.continueCalls, expected.continueCalls);
      // The plane the plug-in does not compute comes through unchanged.
      if (q.filterCaseZero) {
        for (int y = 0; y < image.height; ++y)
          for (int x = 0; x < image.width; ++x)
            ASSERT_EQ(host.GetImage().Get(x, y, 3), image.Get(x, y, 3)) << x << "," << y;
      }
      EXPECT_EQ(report.finishCalled, !q.noFinishAfterSuccess);
      if (q.skipParameters) {
        EXPECT_FALSE(report.parametersCalled);
      }
      if (q.nullDescriptorProcs) {
        EXPECT_FALSE(host.RecordedDescriptor().has_value());
      }
      // The globals are found again from what the data slot keeps; a narrow
      // slot keeps no pointer, but the same word and no second globals block.
      if (!q.narrowDataWord) {
        EXPECT_TRUE(host.IsLiveHandle(reinterpret_cast<ps::Handle>(host.DataWord())));
      } else if (run == 1) {
        EXPECT_EQ(host.DataWord(), word);
        EXPECT_EQ(host.OutstandingHandles(), handles);
      }
      word = host.DataWord();
      handles = host.OutstandingHandles();
    }
    // The parameter record lives on in the host's handle, unless the host
    // hands over an empty one each run; then the plug-in starts afresh.
    const auto* p = host.ParametersAs<stellane::RenderParams>();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::strcmp(p->sourceFolder, "kept") == 0, !q.freshParametersEachRun);
  }
}

}  // namespace
}  // namespace dialogtest
