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

std::unique_ptr<TestHost> MakeHost(HostConfig config, bool transparency = false) {
  auto host = std::make_unique<TestHost>(PluginMainImpl, std::move(config));
  host->SetImage(Image::Make(10, 7, 3, 8, transparency));
  return host;
}

void MarkRecord(TestHost& host) {
  auto* p = host.ParametersAs<RenderParams>();
  ASSERT_NE(p, nullptr);
  std::strcpy(p->sourceFolder, "kept");
}

bool RecordMarked(const TestHost& host) {
  const auto* p = host.ParametersAs<RenderParams>();
  return p && std::strcmp(p->sourceFolder, "kept") == 0;
}

void ExpectCleanRun(const TestHost& host, const RunReport& run) {
  EXPECT_EQ(run.result, 0);
  EXPECT_FALSE(run.hitCallCap);
  EXPECT_EQ(host.OutstandingBuffers(), 0);
  EXPECT_EQ(host.TotalHandleLocks(), 0);
  EXPECT_TRUE(host.Log().protocolErrors.empty()) << host.Log().protocolErrors.front();
}

// Affinity Photo: suites with version and count 0 but working procs.
TEST(HostQuirks, SuitesWithZeroVersionAndCountAreStillUsed) {
  auto host = MakeHost(testhost::AffinityHost());
  ExpectCleanRun(*host, host->RunFilter({.withParameters = true}));
  EXPECT_TRUE(host->IsLiveHandle(reinterpret_cast<ps::Handle>(host->DataWord())));
  EXPECT_GT(host->Log().buffersAllocated, 0);
  EXPECT_EQ(host->Log().bufferRefusals, 0);
}

// pspiHost: descriptorParameters present with NULL read and write procs.
TEST(HostQuirks, DescriptorParametersWithoutProcs) {
  HostConfig config;
  config.quirks.nullDescriptorProcs = true;
  auto host = MakeHost(config);
  const RunReport run = host->RunFilter({.withParameters = true});
  ExpectCleanRun(*host, run);
  EXPECT_TRUE(run.finishCalled);
  EXPECT_EQ(run.finishResult, 0);
  EXPECT_FALSE(host->RecordedDescriptor().has_value());
}

// GIMP's pspi: a 4-byte data slot. The plug-in must not write past it, and
// must find its globals again from what the slot keeps.
TEST(HostQuirks, NarrowDataSlotKeepsItsNeighboursAndTheGlobals) {
  HostConfig config;
  config.hostSig = ps::FourCC("PMIG");
  config.quirks.narrowDataWord = true;
  auto host = MakeHost(config);
  ExpectCleanRun(*host, host->RunFilter({.withParameters = true}));
  EXPECT_TRUE(host->CanaryIntact());
  EXPECT_NE(host->DataWord(), 0);
  const int handles = host->OutstandingHandles();
  const std::intptr_t word = host->DataWord();

  ExpectCleanRun(*host, host->RunFilter());
  EXPECT_TRUE(host->CanaryIntact());
  EXPECT_EQ(host->DataWord(), word);
  EXPECT_EQ(host->OutstandingHandles(), handles);  // no second globals block
}

// GIMP's pspi restores a truncated word saved by an earlier process.
TEST(HostQuirks, NarrowDataSlotFromAnotherProcessIsNotTrusted) {
  HostConfig config;
  config.hostSig = ps::FourCC("PMIG");
  config.quirks.narrowDataWord = true;
  auto host = MakeHost(config);
  host->SetDataWord(0x7F3A5C10);
  ExpectCleanRun(*host, host->RunFilter());
  EXPECT_TRUE(host->CanaryIntact());
}

// pspiHost: a fresh data word on every run; the parameter record is kept.
TEST(HostQuirks, FreshDataWordOnEveryRun) {
  HostConfig config;
  config.quirks.freshDataWordEachRun = true;
  auto host = MakeHost(config);
  ExpectCleanRun(*host, host->RunFilter({.withParameters = true}));
  MarkRecord(*host);
  ExpectCleanRun(*host, host->RunFilter({.withParameters = true}));
  EXPECT_TRUE(RecordMarked(*host));
}

// pspiHost and IrfanView: the parameters handle is empty on every run.
TEST(HostQuirks, FreshParametersHandleOnEveryRun) {
  HostConfig config;
  config.quirks.freshParametersEachRun = true;
  auto host = MakeHost(config);
  ExpectCleanRun(*host, host->RunFilter({.withParameters = true}));
  MarkRecord(*host);
  ExpectCleanRun(*host, host->RunFilter());
  EXPECT_FALSE(RecordMarked(*host));
  const auto* p = host->ParametersAs<RenderParams>();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->randomSeed, 67676767);
}

// A data word that holds garbage (no handle of ours) is never dereferenced.
TEST(HostQuirks, GarbageDataWordIsReplaced) {
  auto host = MakeHost({});
  host->SetDataWord(std::intptr_t(0x0000DEAD0000BEE0));
  ExpectCleanRun(*host, host->RunFilter({.withParameters = true}));
  EXPECT_TRUE(host->IsLiveHandle(reinterpret_cast<ps::Handle>(host->DataWord())));
}

// GIMP's pspi: filterCase 0 and a fourth (alpha) plane; the plane the
// plug-in does not compute must come through unchanged.
TEST(HostQuirks, FilterCaseZeroWithAnAlphaPlane) {
  HostConfig config;
  config.quirks.filterCaseZero = true;
  auto host = MakeHost(config, true);
  Image& image = host->GetImage();
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) image.Set(x, y, 3, 200 - x - y);
  const Image before = image;
  ExpectCleanRun(*host, host->RunFilter());
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      ASSERT_EQ(host->GetImage().Get(x, y, 3), before.Get(x, y, 3)) << x << "," << y;
}

// Paint.NET: the record ends at 556 bytes; nothing beyond may be touched.
TEST(HostQuirks, ShortRecord) {
  HostConfig config = testhost::PaintDotNetHost();
  auto host = MakeHost(config);
  ExpectCleanRun(*host, host->RunFilter({.withParameters = true}));
  ExpectCleanRun(*host, host->RunFilter());
}

// pspiHost: *result is 1 when About is called and non-zero means failure.
TEST(HostQuirks, AboutResultPresetToOne) {
  HostConfig config;
  config.quirks.aboutResultPresetOne = true;
  auto host = MakeHost(config);
  EXPECT_EQ(host->About(), 0);
}

// GIMP's pspi: no Finish after a successful run; the run still cleans up.
TEST(HostQuirks, NoFinishAfterSuccess) {
  HostConfig config;
  config.quirks.noFinishAfterSuccess = true;
  auto host = MakeHost(config);
  for (int run = 0; run < 2; ++run) {
    const RunReport report = host->RunFilter();
    ExpectCleanRun(*host, report);
    EXPECT_FALSE(report.finishCalled);
  }
}

// Paint.NET's repeat and GIMP's non-interactive runs: no Parameters call,
// so the first start meets an empty parameters handle.
TEST(HostQuirks, ParametersSkipped) {
  HostConfig config;
  config.quirks.skipParameters = true;
  auto host = MakeHost(config);
  const RunReport run = host->RunFilter({.withParameters = true});
  ExpectCleanRun(*host, run);
  EXPECT_FALSE(run.parametersCalled);
  const auto* p = host->ParametersAs<RenderParams>();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->randomSeed, 67676767);
}

// pspiHost: every handle reports size 0; the record must not be taken for
// a foreign one and replaced.
TEST(HostQuirks, HandleSizesReportedAsZero) {
  HostConfig config;
  config.quirks.handleSizeZero = true;
  auto host = MakeHost(config);
  ExpectCleanRun(*host, host->RunFilter());
  MarkRecord(*host);
  ExpectCleanRun(*host, host->RunFilter());
  EXPECT_TRUE(RecordMarked(*host));
}

// pspiHost and GIMP's pspi: a rectangle with a non-zero right edge means
// more work, so the run must end with all-zero rectangles.
TEST(HostQuirks, DoneOnlyWhenEveryRightEdgeIsZero) {
  auto plain = MakeHost({});
  const RunReport expected = plain->RunFilter();
  HostConfig config;
  config.quirks.doneOnlyWhenRightIsZero = true;
  auto host = MakeHost(config);
  const RunReport run = host->RunFilter();
  ExpectCleanRun(*host, run);
  EXPECT_EQ(run.continueCalls, expected.continueCalls);
  EXPECT_EQ(run.pixelRequests, expected.pixelRequests);
}

// GIMP's pspi: the sampling rates arrive as 0; every request must set them.
TEST(HostQuirks, RatesPresetToZero) {
  HostConfig config;
  config.quirks.ratesPresetZero = true;
  auto host = MakeHost(config);
  ExpectCleanRun(*host, host->RunFilter());
  ASSERT_FALSE(host->Log().requests.empty());
  for (const testhost::PixelRequest& request : host->Log().requests)
    EXPECT_EQ(request.inputRate, ps::kFixedOne);
}

// GIMP's pspi: a buffer suite of 8 procs with only the first 5 filled.
TEST(HostQuirks, BufferSuiteWithItsNewerSlotsEmpty) {
  HostConfig config;
  config.quirks.bufferSlotsBeyondFiveNull = true;
  auto host = MakeHost(config);
  ExpectCleanRun(*host, host->RunFilter());
  EXPECT_GT(host->Log().buffersAllocated, 0);
}

// The full presets of the hosts we know, each run twice.
TEST(HostQuirks, KnownHostPresetsRunCleanly) {
  const HostConfig presets[] = {testhost::PhotoshopHost(),   testhost::AffinityHost(),
                                testhost::GimpPspiHost(),    testhost::PspiHostDll(),
                                testhost::PaintDotNetHost(), testhost::IrfanViewHost()};
  for (const HostConfig& preset : presets) {
    auto host = MakeHost(preset, true);
    for (int run = 0; run < 2; ++run) {
      if (run == 0) EXPECT_EQ(host->About(), 0);
      ExpectCleanRun(*host, host->RunFilter({.withParameters = run == 0}));
      EXPECT_TRUE(host->CanaryIntact());
    }
  }
}

}  // namespace
}  // namespace stellane
