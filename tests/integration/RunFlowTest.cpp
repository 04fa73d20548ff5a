// The run driver seen from a host: what a filter run asks for, row by row,
// and how it ends, through PluginMain and the test host only.
#include <gtest/gtest.h>

#include "host/PluginEntry.h"
#include "params/RenderParams.h"
#include "testhost/TestHost.h"

namespace {

using testhost::HostConfig;
using testhost::Image;
using testhost::RunReport;
using testhost::TestHost;

bool Empty(const ps::Rect16& r) {
  return r.top == 0 && r.left == 0 && r.bottom == 0 && r.right == 0;
}

// A lopsided grey-to-colour ramp, different in every channel and row.
Image Ramp(int width, int height, int planes = 3, int depth = 8) {
  Image image = Image::Make(width, height, planes, depth);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < planes; ++c)
        image.Set(x, y, c, double((x * 7 + y * 13 + c * 61) % 256) * image.MaxValue() / 255.0);
  return image;
}

class RunFlow : public ::testing::Test {
 protected:
  TestHost& NewHost(HostConfig config = {}) {
    host_ = std::make_unique<TestHost>(&stellane::PluginMainImpl, config);
    return *host_;
  }
  // The rows the plug-in asked for through advanceState, in order. (After
  // start the host serves the pending request once more before the first
  // continue, as editors do; that repeats row 0.)
  std::vector<testhost::PixelRequest> Requests() const {
    std::vector<testhost::PixelRequest> rows;
    for (const auto& r : host_->Log().requests)
      if (r.fromAdvanceState) rows.push_back(r);
    return rows;
  }

  std::unique_ptr<TestHost> host_;
};

TEST_F(RunFlow, OneRowImageIsOneRequestOneStepThenEmptyRectangles) {
  TestHost& host = NewHost();
  host.SetImage(Ramp(9, 1));
  const RunReport run = host.RunFilter();
  EXPECT_EQ(run.result, 0);
  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_EQ(Requests()[0].inRect.top, 0);
  EXPECT_EQ(Requests()[0].inRect.bottom, 1);
  EXPECT_TRUE(Empty(host.Record().inRect));
  EXPECT_TRUE(Empty(host.Record().outRect));
  EXPECT_TRUE(Empty(host.Record().maskRect));
  // Without a selection no mask rows are asked for.
  EXPECT_EQ(Requests()[0].maskRect.bottom, Requests()[0].maskRect.top);
  EXPECT_TRUE(host.Log().protocolErrors.empty());
}

TEST_F(RunFlow, RowsAreRequestedTopToBottomWithEdgeReplicationAndUnitRate) {
  HostConfig config;
  config.filterRect = testhost::Rect{3, 2, 10, 9};
  TestHost& host = NewHost(config);
  const Image source = Ramp(12, 14);
  host.SetImage(source);
  const RunReport run = host.RunFilter();
  EXPECT_EQ(run.result, 0);
  // Only the filter rectangle's pixels change.
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside = y >= 3 && y < 10 && x >= 2 && x < 9;
      if (!inside) {
        ASSERT_EQ(host.GetImage().Get(x, y, 1), source.Get(x, y, 1)) << x << "," << y;
      }
    }
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 7u);
  for (int i = 0; i < 7; ++i) {
    const auto& r = requests[std::size_t(i)];
    EXPECT_EQ(r.inRect.top, 3 + i);
    EXPECT_EQ(r.inRect.bottom, 4 + i);
    EXPECT_EQ(r.inRect.left, 2);
    EXPECT_EQ(r.inRect.right, 9);
    EXPECT_EQ(r.outRect.top, r.inRect.top);
    EXPECT_EQ(r.outRect.right, 9);
    EXPECT_EQ(r.inLoPlane, 0);
    EXPECT_EQ(r.inHiPlane, 2);
    EXPECT_EQ(r.outHiPlane, 2);
    EXPECT_EQ(r.inputRate, 0x10000);
    EXPECT_EQ(r.maskRate, 0x10000);
    EXPECT_EQ(r.inputPadding, -1);
    EXPECT_EQ(r.outputPadding, -1);
    EXPECT_EQ(r.maskPadding, -1);
  }
  EXPECT_TRUE(host.Log().protocolErrors.empty());
}

TEST_F(RunFlow, MaskRowsSurroundTheRowClampedIntoTheFilterRectangle) {
  HostConfig config;
  config.filterRect = testhost::Rect{4, 1, 12, 6};
  TestHost& host = NewHost(config);
  host.SetImage(Ramp(8, 16));
  host.SetSelection(testhost::Selection::Filled(8, 16, 255));
  ASSERT_EQ(host.RunFilter().result, 0);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 8u);
  // First row: rows top .. top + 1, never empty.
  EXPECT_EQ(requests[0].maskRect.top, 4);
  EXPECT_EQ(requests[0].maskRect.bottom, 6);
  EXPECT_EQ(requests[0].maskRect.left, 1);
  EXPECT_EQ(requests[0].maskRect.right, 6);
  // A middle row y = 8: rows 6 .. 9.
  EXPECT_EQ(requests[4].inRect.top, 8);
  EXPECT_EQ(requests[4].maskRect.top, 6);
  EXPECT_EQ(requests[4].maskRect.bottom, 10);
  // Last row y = 11: rows 9 .. 11.
  EXPECT_EQ(requests[7].maskRect.top, 9);
  EXPECT_EQ(requests[7].maskRect.bottom, 12);
  for (const auto& r : requests) EXPECT_GT(r.maskRect.bottom, r.maskRect.top);
}

TEST_F(RunFlow, ProgressSeesRowZeroAndEveryThirtySecondRow) {
  TestHost& host = NewHost();
  host.SetImage(Ramp(3, 100));
  ASSERT_EQ(host.RunFilter().result, 0);
  std::vector<int> done;
  for (const auto& call : host.Log().progress) {
    done.push_back(call.done);
    EXPECT_EQ(call.total, 100);
  }
  EXPECT_EQ(done, (std::vector<int>{0, 32, 64, 96}));
  // The abort test runs every 32nd row: rows 31, 63, 95.
  EXPECT_EQ(host.Log().abortCalls, 3);
}

TEST_F(RunFlow, CancelEndsTheRunAfterThatRowAndReleasesEverything) {
  HostConfig config;
  config.abortAfterCalls = 1;  // the second question (row 63) answers yes
  TestHost& host = NewHost(config);
  host.SetImage(Ramp(4, 100));
  const RunReport run = host.RunFilter();
  EXPECT_EQ(run.result, ps::userCanceledErr);
  EXPECT_EQ(host.Log().abortCalls, 2);
  EXPECT_EQ(Requests().size(), 64u);
  EXPECT_TRUE(Empty(host.Record().inRect));
  EXPECT_EQ(host.GetImage().data, Ramp(4, 100).data);  // a cancelled run changes nothing
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

// Stars are placed from a generator seeded with the clock; the nebula alone
// (density 0) is the same in every run.
HostConfig NebulaOnly(HostConfig config = {}) {
  config.descriptorToPlay = testhost::Descriptor{
      testhost::IntegerItem(ps::FourCC("0008"), 0),
  };
  config.playInfo = ps::plugInDialogDontDisplay;
  return config;
}

TEST_F(RunFlow, HeapBuffersGiveTheSameImageWhenTheHostRefusesBuffers) {
  TestHost& withSuite = NewHost(NebulaOnly());
  withSuite.SetImage(Ramp(17, 11));
  ASSERT_EQ(withSuite.RunFilter().result, 0);
  const Image expected = withSuite.GetImage();
  EXPECT_NE(expected.data, Ramp(17, 11).data);  // the nebula was drawn
  EXPECT_GT(withSuite.Log().buffersAllocated, 0);

  // Every buffer refused, or only those after the third.
  for (int granted : {0, 3}) {
    HostConfig refusing;
    refusing.buffersBeforeRefusal = granted;
    TestHost& host = NewHost(NebulaOnly(refusing));
    host.SetImage(Ramp(17, 11));
    ASSERT_EQ(host.RunFilter().result, 0);
    EXPECT_GT(host.Log().bufferRefusals, 0);
    EXPECT_EQ(host.Log().buffersAllocated, granted);
    EXPECT_EQ(host.OutstandingBuffers(), 0);
    EXPECT_EQ(host.GetImage().data, expected.data) << granted;
  }
}

TEST_F(RunFlow, AdvanceStateErrorEndsTheCallWithItsCode) {
  TestHost& host = NewHost();
  host.SetImage(Ramp(6, 6));
  host.BeginRun();
  ASSERT_EQ(host.Call(ps::filterSelectorPrepare), 0);
  // Take the advanceState away mid-run and answer an error instead.
  ps::FilterRecord& fr = host.Record();
  static ps::AdvanceStateProc realAdvance;
  realAdvance = fr.advanceState;
  static int callsBeforeError;
  callsBeforeError = 2;
  fr.advanceState = [] {
    return callsBeforeError-- > 0 ? realAdvance() : ps::OSErr(ps::memFullErr);
  };
  EXPECT_EQ(host.Call(ps::filterSelectorStart), 0);
  EXPECT_EQ(host.Call(ps::filterSelectorContinue), ps::memFullErr);
  EXPECT_TRUE(Empty(fr.inRect));
  host.EndRun();
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

TEST_F(RunFlow, EmptyFilterRectangleEndsAtOnce) {
  HostConfig config;
  config.filterRect = testhost::Rect{2, 2, 2, 5};
  TestHost& host = NewHost(config);
  host.SetImage(Ramp(6, 6));
  const RunReport run = host.RunFilter();
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.rowsDelivered, 0);
  EXPECT_FALSE(run.hitCallCap);
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

TEST_F(RunFlow, FinalRenderResetsPreviewStateAndStartSetsOutputMode) {
  TestHost& host = NewHost();
  host.SetImage(Ramp(4, 4));
  ASSERT_EQ(host.RunFilter().result, 0);
  auto* params = host.ParametersAs<stellane::RenderParams>();
  params->previewPanX = 17;
  params->previewZoom = 4;
  params->renderTarget = 1;
  params->outputMode = 6;
  ASSERT_EQ(host.RunFilter().result, 0);
  params = host.ParametersAs<stellane::RenderParams>();
  EXPECT_EQ(params->previewPanX, 0);
  EXPECT_EQ(params->previewZoom, 1);
  EXPECT_EQ(params->renderTarget, 0);
  EXPECT_EQ(params->outputMode, 3);
  EXPECT_EQ(params->showDialog, 0);
}

}  // namespace
