// The plug-in in the hands of third-party hosts that bend the plug-in
// interface: each quirk must neither crash the plug-in nor make it misread.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "host/PluginEntry.h"
#include "params/RenderParams.h"
#include "testhost/TestHost.h"

namespace stellane {
namespace {

using testhost::HostConfig;
using testhost::Image;
using testhost::RunReport;
using testhost::TestHost;

struct Quirk {
  const char* name;
  HostConfig config;
  std::intptr_t staleDataWord = 0;  // left in the data slot before the first run
};

HostConfig With(void (*set)(testhost::HostQuirks&), std::uint32_t hostSig = 0) {
  HostConfig config;
  set(config.quirks);
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
      {"descriptor parameters without procs", With([](auto& q) { q.nullDescriptorProcs = true; })},
      // A 4-byte data slot, holding a truncated word of an earlier process.
      {"narrow data slot", With([](auto& q) { q.narrowDataWord = true; }, ps::FourCC("PMIG")),
       0x7F3A5C10},
      {"garbage in the data slot", {}, std::intptr_t(0x0000DEAD0000BEE0)},
      {"fresh data word each run", With([](auto& q) { q.freshDataWordEachRun = true; })},
      {"empty parameters each run", With([](auto& q) { q.freshParametersEachRun = true; })},
      {"filterCase 0 with an alpha plane", With([](auto& q) { q.filterCaseZero = true; })},
      {"About result preset to 1", With([](auto& q) { q.aboutResultPresetOne = true; })},
      {"no Finish after success", With([](auto& q) { q.noFinishAfterSuccess = true; })},
      {"Parameters skipped", With([](auto& q) { q.skipParameters = true; })},
      {"handle sizes 0", With([](auto& q) { q.handleSizeZero = true; })},
      {"done only when every right edge is 0",
       With([](auto& q) { q.doneOnlyWhenRightIsZero = true; })},
      {"sampling rates preset to 0", With([](auto& q) { q.ratesPresetZero = true; })},
      {"buffer procs beyond the fifth empty",
       With([](auto& q) { q.bufferSlotsBeyondFiveNull = true; })},
  };
  TestHost plain(PluginMainImpl);
  plain.SetImage(Image::Make(10, 7, 3, 8, true));
  const RunReport expected = plain.RunFilter();

  for (const Quirk& quirk : quirks) {
    SCOPED_TRACE(quirk.name);
    const testhost::HostQuirks& q = quirk.config.quirks;
    TestHost host(PluginMainImpl, quirk.config);
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
        auto* record = host.ParametersAs<RenderParams>();
        ASSERT_NE(record, nullptr);
        std::strcpy(record->sourceFolder, "kept");
      }
      host.ClearLog();
      const RunReport report = host.RunFilter({.withParameters = run == 0});
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
    const auto* p = host.ParametersAs<RenderParams>();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::strcmp(p->sourceFolder, "kept") == 0, !q.freshParametersEachRun);
  }
}

}  // namespace
}  // namespace stellane
