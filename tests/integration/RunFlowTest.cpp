// The run driver seen from a host: what a filter run asks for, row by row,
// and how it ends, through PluginMain and the test host only.
#include <gtest/gtest.h>

#include <string>

#include "Ramp.h"
#include "host/PluginEntry.h"
#include "params/RenderParams.h"
#include "testhost/TestHost.h"

namespace {

using testhost::HostConfig;
using testhost::Image;
using testhost::TestHost;
using testing_pictures::Ramp;

// "top,left,bottom,right"
std::string Str(const ps::Rect16& r) {
  return std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.bottom) +
         "," + std::to_string(r.right);
}

class RunFlow : public ::testing::Test {
 protected:
  TestHost& NewHost(HostConfig config, const Image& image) {
    host_ = std::make_unique<TestHost>(&stellane::PluginMainImpl, config);
    host_->SetImage(image);
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

// One row at a time, top to bottom, at full rate with edge replication, no
// mask rows without a selection; done is all-empty rectangles. An empty
// filter rectangle ends at once.
TEST_F(RunFlow, RowsAreRequestedTopToBottomThenEmptyRectangles) {
  const struct {
    int width, height;
    testhost::Rect filter;
  } cases[] = {{9, 1, {0, 0, 1, 9}}, {12, 14, {3, 2, 10, 9}}, {6, 6, {2, 2, 2, 5}}};
  for (const auto& c : cases) {
    HostConfig config;
    config.filterRect = c.filter;
    TestHost& host = NewHost(config, Ramp(c.width, c.height));
    const testhost::RunReport run = host.RunFilter();
    EXPECT_EQ(run.result, 0);
    EXPECT_FALSE(run.hitCallCap);
    EXPECT_EQ(run.rowsDelivered == 0, c.filter.bottom == c.filter.top);
    EXPECT_EQ(host.OutstandingBuffers(), 0);
    const auto requests = Requests();
    ASSERT_EQ(int(requests.size()), c.filter.bottom - c.filter.top);
    for (int i = 0; i < int(requests.size()); ++i) {
      const auto& r = requests[std::size_t(i)];
      const std::string row =
          std::to_string(c.filter.top + i) + "," + std::to_string(c.filter.left) + "," +
          std::to_string(c.filter.top + i + 1) + "," + std::to_string(c.filter.right);
      EXPECT_EQ(Str(r.inRect), row);
      EXPECT_EQ(Str(r.outRect), row);
      EXPECT_EQ(r.maskRect.bottom, r.maskRect.top);
      EXPECT_EQ(std::vector<int>({r.inLoPlane, r.inHiPlane, r.outLoPlane, r.outHiPlane}),
                std::vector<int>({0, 2, 0, 2}));
      EXPECT_EQ(std::vector<int>(
                    {r.inputRate, r.maskRate, r.inputPadding, r.outputPadding, r.maskPadding}),
                std::vector<int>({0x10000, 0x10000, -1, -1, -1}));
    }
    for (const ps::Rect16& r :
         {host.Record().inRect, host.Record().outRect, host.Record().maskRect})
      EXPECT_EQ(Str(r), "0,0,0,0");
    EXPECT_TRUE(host.Log().protocolErrors.empty());
  }
}

TEST_F(RunFlow, MaskRowsSurroundTheRowClampedIntoTheFilterRectangle) {
  HostConfig config;
  config.filterRect = testhost::Rect{4, 1, 12, 6};
  TestHost& host = NewHost(config, Ramp(8, 16));
  host.SetSelection(testhost::Selection::Filled(8, 16, 255));
  ASSERT_EQ(host.RunFilter().result, 0);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 8u);
  EXPECT_EQ(Str(requests[0].maskRect), "4,1,6,6");  // first row: top .. top + 1, never empty
  EXPECT_EQ(requests[4].inRect.top, 8);
  EXPECT_EQ(Str(requests[4].maskRect), "6,1,10,6");  // a middle row: y - 2 .. y + 1
  EXPECT_EQ(Str(requests[7].maskRect), "9,1,12,6");  // the last row, y = 11
}

// Progress at row 0 and every 32nd row; the abort test every 32nd row (31,
// 63, 95). Cancel on its second question ends the run after row 63 with
// nothing changed and everything released.
TEST_F(RunFlow, ProgressEveryThirtySecondRowAndCancelAfterThatRow) {
  TestHost& host = NewHost({}, Ramp(4, 100));
  ASSERT_EQ(host.RunFilter().result, 0);
  std::vector<int> done;
  for (const auto& call : host.Log().progress) {
    done.push_back(call.done);
    EXPECT_EQ(call.total, 100);
  }
  EXPECT_EQ(done, (std::vector<int>{0, 32, 64, 96}));
  EXPECT_EQ(host.Log().abortCalls, 3);

  HostConfig config;
  config.abortAfterCalls = 1;
  TestHost& cancelled = NewHost(config, Ramp(4, 100));
  EXPECT_EQ(cancelled.RunFilter().result, ps::userCanceledErr);
  EXPECT_EQ(cancelled.Log().abortCalls, 2);
  EXPECT_EQ(Requests().size(), 64u);
  EXPECT_EQ(Str(cancelled.Record().inRect), "0,0,0,0");
  EXPECT_EQ(cancelled.GetImage().data, Ramp(4, 100).data);
  EXPECT_EQ(cancelled.OutstandingBuffers(), 0);
}

// Stars are placed from a generator seeded with the clock; the nebula alone
// (density 0) is the same in every run.
TEST_F(RunFlow, HeapBuffersGiveTheSameImageWhenTheHostRefusesBuffers) {
  Image expected;
  for (int granted : {-1, 0, 3}) {  // every buffer given; none; only the first three
    HostConfig config;
    config.descriptorToPlay = testhost::Descriptor{testhost::IntegerItem(ps::FourCC("0008"), 0)};
    config.playInfo = ps::plugInDialogDontDisplay;
    if (granted >= 0) config.buffersBeforeRefusal = granted;
    TestHost& host = NewHost(config, Ramp(17, 11));
    ASSERT_EQ(host.RunFilter().result, 0);
    EXPECT_EQ(host.OutstandingBuffers(), 0);
    if (granted < 0) {
      expected = host.GetImage();
      EXPECT_NE(expected.data, Ramp(17, 11).data);  // the nebula was drawn
      EXPECT_GT(host.Log().buffersAllocated, 0);
      continue;
    }
    EXPECT_GT(host.Log().bufferRefusals, 0);
    EXPECT_EQ(host.Log().buffersAllocated, granted);
    EXPECT_EQ(host.GetImage().data, expected.data) << granted;
  }
}

TEST_F(RunFlow, AdvanceStateErrorEndsTheCallWithItsCode) {
  TestHost& host = NewHost({}, Ramp(6, 6));
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
  EXPECT_EQ(Str(fr.inRect), "0,0,0,0");
  host.EndRun();
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

TEST_F(RunFlow, FinalRenderResetsPreviewStateAndStartSetsOutputMode) {
  TestHost& host = NewHost({}, Ramp(4, 4));
  ASSERT_EQ(host.RunFilter().result, 0);
  auto* params = host.ParametersAs<stellane::RenderParams>();
  params->previewPanX = 17;
  params->previewZoom = 4;
  params->renderTarget = 1;
  params->outputMode = 6;
  ASSERT_EQ(host.RunFilter().result, 0);
  params = host.ParametersAs<stellane::RenderParams>();
  EXPECT_EQ(std::vector<int>({params->previewPanX, params->previewZoom, params->renderTarget,
                              params->outputMode, params->showDialog}),
            std::vector<int>({0, 1, 0, 3, 0}));
}

}  // namespace
