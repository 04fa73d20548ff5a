// The dialog's preview: zoom commands and their buttons, panning and the
// reduced areas the host is asked for.
#include "DialogRig.h"

namespace dialogtest {
namespace {

namespace ctl = stellane::ctl;

using DialogPreview = DialogRun;

// An image that fits the frame, and a host that cannot display pixels: no
// zoom, no pan, and the rest of the dialog works.
TEST_F(DialogPreview, WithoutRoomOrDisplayThereIsNoZoomOrPan) {
  for (const bool display : {false, true}) {
    config_.offerDisplayPixels = display;
    Run(
        [&](Globals& g) {
          const auto& r = stellane::Dialog(g);
          if (display) {
            EXPECT_EQ(g.previewFitFactor, 1);
          }
          EXPECT_EQ(g.params->previewEnabled, display ? 1 : 0);
          EXPECT_EQ(r.enabled[ctl::kZoomOut] + r.enabled[ctl::kZoomIn], 0);
          EXPECT_EQ(window.texts[ctl::kZoomFull], "100%");
          window.Press(g, CentreX(ctl::kPreview), CentreY(ctl::kPreview));
          EXPECT_FALSE(window.captured);
          window.Release(g, CentreX(ctl::kPreview), CentreY(ctl::kPreview));
          const int glue = g.params->glue;
          window.Click(g, ctl::kZoomFull);
          window.Click(g, ctl::kNextGlue);
          EXPECT_EQ(g.params->glue, glue + 1);
        },
        display ? 120 : 1100, display ? 90 : 40);
    if (!display) {
      EXPECT_EQ(Displays(), 0);
    }
  }
}

TEST_F(DialogPreview, ZoomCommandsAskForReducedAreas) {
  // 1100 x 40 fits at factor 3.
  Run(
      [&](Globals& g) {
        const auto& r = stellane::Dialog(g);
        const auto& log = host_->Log();
        EXPECT_EQ(g.previewFitFactor, 3);
        EXPECT_EQ(g.params->previewZoom, 3);
        EXPECT_EQ(log.requests.back().inputRate, 3 << 16);
        EXPECT_EQ(window.texts[ctl::kZoomFull], "33%");
        EXPECT_EQ(r.enabled[ctl::kZoomOut], 0);
        EXPECT_EQ(r.enabled[ctl::kZoomIn], 1);

        window.Click(g, ctl::kZoomIn);
        EXPECT_EQ(g.params->previewZoom, 2);
        EXPECT_EQ(log.requests.back().inputRate, 2 << 16);
        EXPECT_EQ(window.texts[ctl::kZoomFull], "50%");
        EXPECT_EQ(r.enabled[ctl::kZoomOut], 1);

        window.Click(g, ctl::kZoomFull);
        EXPECT_EQ(window.texts[ctl::kZoomFull], "100%");
        EXPECT_EQ(r.enabled[ctl::kZoomIn], 0);
        // At 100% the view is centred on what it showed: a 500-wide window
        // into the 1100-wide image.
        const ps::Rect16 in = log.requests.back().inRect;
        EXPECT_EQ(in.right - in.left, 500);
        EXPECT_EQ(in.left, g.params->previewPanX);
        EXPECT_GT(g.params->previewPanX, 0);

        // Back out to the fit factor: the pan is gone.
        window.Click(g, ctl::kZoomOut);
        window.Click(g, ctl::kZoomOut);
        EXPECT_EQ(g.params->previewZoom, 3);
        EXPECT_EQ(g.params->previewPanX, 0);
        EXPECT_EQ(g.params->previewPanY, 0);
        EXPECT_EQ(r.enabled[ctl::kZoomOut], 0);
      },
      1100, 40);
}

TEST_F(DialogPreview, DraggingPansUpToTheImageEdges) {
  Run(
      [&](Globals& g) {
        const auto& log = host_->Log();
        window.Click(g, ctl::kZoomFull);
        const int x = CentreX(ctl::kPreview);
        const int y = CentreY(ctl::kPreview);
        window.Press(g, x, y);
        EXPECT_EQ(g.params->captureControl, ctl::kPreview);
        EXPECT_EQ(window.cursor, DialogCursor::ClosedHand);
        const int outlines = window.outlines;
        window.Move(g, x + 2000, y + 50);  // the image follows the pointer
        EXPECT_GT(window.outlines, outlines) << "a paint without the fill outlines it too";
        EXPECT_EQ(g.params->previewPanX, 0);
        EXPECT_EQ(g.params->previewPanY, 0);
        window.Move(g, x - 2000, y - 500);
        EXPECT_EQ(g.params->previewPanX, 600);
        EXPECT_EQ(g.params->previewPanY, 0) << "the image is no taller than the frame";
        const ps::Rect16 in = log.requests.back().inRect;
        EXPECT_EQ(in.right, 1100);
        EXPECT_EQ(in.left, 600);
        // While dragging, the source is shown unfiltered (no selection: as is).
        const auto& shown = log.displays.back();
        ASSERT_EQ(shown.srcRect.right - shown.srcRect.left, 500);
        for (int j : {0, 17, 39})
          for (int i : {0, 250, 499})
            for (int c = 0; c < 3; ++c)
              EXPECT_EQ(shown.pixels[(j * 500 + i) * 3 + c], RampValue(600 + i, j, c));
        const int before = Displays();
        window.Release(g, x - 2000, y - 500);
        EXPECT_EQ(g.params->captureControl, -1);
        EXPECT_GT(Displays(), before) << "the release renders the preview";
      },
      1100, 40);
}

TEST_F(DialogPreview, PspHostGetsTheMaskInReducedCoordinates) {
  // A filter rectangle 1100 wide starting at column 100: fit factor 3.
  config_.filterRect = testhost::Rect{0, 100, 40, 1200};
  auto zoomIn = [&](Globals& g) {
    window.Click(g, ctl::kZoomIn);
    EXPECT_EQ(g.params->previewZoom, 2);
    const auto& request = host_->Log().requests.back();
    const int pan = g.params->previewPanX;
    EXPECT_GT(pan, 0);
    EXPECT_EQ(request.inRect.left, (100 + pan) / 2);
    EXPECT_EQ(request.inputRate, 2 << 16);
    EXPECT_EQ(request.inputPadding, -1);
    return std::pair{request.inRect, request.maskRect};
  };
  Run(
      [&](Globals& g) {
        const auto [in, mask] = zoomIn(g);
        EXPECT_EQ(mask.left, in.left) << "hosts take the mask where the input is";
        EXPECT_EQ(mask.right, in.right);
      },
      1200, 40);
  config_.hostSig = ps::FourCC("PSP8");
  withParameters_ = true;  // this host plays no descriptor
  Run(
      [&](Globals& g) {
        const auto [in, mask] = zoomIn(g);
        EXPECT_EQ(mask.left, g.params->previewPanX / 2);
        EXPECT_EQ(mask.top, 0);
        EXPECT_EQ(mask.right - mask.left, in.right - in.left);
      },
      1200, 40);
}

}  // namespace
}  // namespace dialogtest
