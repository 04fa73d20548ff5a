// The dialog's sliders, edit boxes, command chain, OK and Cancel, and its
// "PSD" button (the save chooser's proposal, the export handed to the window,
// which shows its progress, and a cancelled chooser), driven through a fake
// window during a real filter run.
#include <fstream>

#include "DialogRig.h"
#include "params/ParamTable.h"
#include "params/SettingsFile.h"

namespace dialogtest {
namespace {

namespace ctl = stellane::ctl;
using stellane::LookupControl;
using stellane::RenderParams;

constexpr int kTrackA = 37;  // paramA's track
constexpr int kEditA = 86;   // and its edit box

using DialogControls = DialogRun;

TEST_F(DialogControls, SliderClicksDragsAndKnob) {
  const auto& track = LookupControl(kTrackA);
  EXPECT_EQ(stellane::SliderKnobLeft(track, 100) - track.rect.left, 121);
  EXPECT_EQ(stellane::SliderKnobLeft(track, 0) - track.rect.left, 1);

  const int left = track.rect.left;
  const int y = CentreY(kTrackA);
  Run([&](Globals& g) {
    window.ClickAt(g, left + 126, y);
    EXPECT_EQ(g.params->paramA, 100);
    EXPECT_EQ(window.texts[kEditA], "100");
    window.ClickAt(g, left + 65, y);
    EXPECT_EQ(g.params->paramA, 49);

    // A drag past either end clamps; the value follows only on release.
    window.Press(g, left + 65, y);
    EXPECT_TRUE(window.captured);
    window.Move(g, left + 900, y);
    EXPECT_EQ(stellane::Dialog(g).controlValues[kTrackA], 100);
    EXPECT_EQ(g.params->paramA, 49);
    window.Move(g, left - 300, y);
    EXPECT_EQ(stellane::Dialog(g).controlValues[kTrackA], 0);
    window.Release(g, left - 300, y);
    EXPECT_EQ(g.params->paramA, 0);
    EXPECT_EQ(g.params->captureControl, -1);
    EXPECT_FALSE(window.captured);
  });
}

TEST_F(DialogControls, TypedValuesMoveTheTrackAndReachTheParametersOneSecondLater) {
  Run([&](Globals& g) {
    const int before = Displays();
    window.Type(g, kEditA, "250");
    EXPECT_EQ(stellane::Dialog(g).controlValues[kTrackA], 100);
    EXPECT_EQ(window.texts[kEditA], "250");
    EXPECT_NE(g.params->paramA, 100);
    EXPECT_EQ(Displays(), before) << "no preview while typing";
    window.Tick(g);
    EXPECT_EQ(g.params->paramA, 100);
    EXPECT_EQ(window.texts[kEditA], "100");
    EXPECT_TRUE(window.timers.empty()) << "the timer stopped";

    window.Type(g, kEditA, "45.7");
    window.Tick(g);
    EXPECT_EQ(g.params->paramA, 45);
    EXPECT_EQ(window.texts[kEditA], "45.7");
    window.Type(g, kEditA, "pear");
    window.Tick(g);
    EXPECT_EQ(g.params->paramA, 0);
    window.Type(g, kEditA, "-20");
  });
  const auto* p = host_->ParametersAs<RenderParams>();
  EXPECT_EQ(p->paramA, 0) << "a negative number is stored as 0 on OK";
  EXPECT_EQ(window.texts[kEditA], "0");
  EXPECT_EQ(window.endCode, ctl::kOk);
  EXPECT_TRUE(window.timers.empty());
}

TEST_F(DialogControls, CommandChainOrder) {
  Run([&](Globals& g) {
    // "N" wraps from the last glue mode to the first.
    window.selection = 61;
    stellane::DialogCommand(g, ctl::kGlueList, stellane::kNotifySelectionChanged);
    EXPECT_EQ(g.params->glue, 62);
    window.Click(g, ctl::kNextGlue);
    EXPECT_EQ(g.params->glue, 1);
    EXPECT_EQ(window.selection, 0);

    // A click's exchange takes up what was typed just before it...
    window.Type(g, kEditA, "77");
    window.Click(g, ctl::kInfo);
    EXPECT_EQ(g.params->paramA, 77);
    EXPECT_TRUE(window.timers.empty()) << "the click stops the edit timer";
    // ...unless its handler changed the parameters and rewrote the controls.
    window.Type(g, kEditA, "99");
    window.Click(g, ctl::kNextGlue);
    EXPECT_EQ(g.params->paramA, 77);
    EXPECT_EQ(g.params->glue, 2);
    window.Type(g, kEditA, "98");
    window.Click(g, ctl::kRandomseed);
    EXPECT_EQ(g.params->paramA, 77);
    EXPECT_STREQ(g.params->settingsFileName, "random settings.q9r");
    EXPECT_GE(g.params->randomSeed, 0);
    EXPECT_LE(g.params->randomSeed, 2047);

    window.Click(g, ctl::kLogo);
    EXPECT_EQ(window.aboutShown, 1);
    EXPECT_EQ(window.infoShown, 1);
  });
}

TEST_F(DialogControls, CancelRestoresTheOpeningParameters) {
  // Cancel pressed directly, and pressed in the main dialog while the
  // ownerless info or About box waits inside its click.
  for (const int boxOpen : {-1, ctl::kInfo, ctl::kLogo}) {
    SCOPED_TRACE(boxOpen);
    std::vector<double> opening;
    const std::string file = temp_.In("some.q9r");
    const testhost::RunReport run = Run([&](Globals& g) {
      opening = ParamSet(*g.params);
      stellane::WriteSettingsFile(file.c_str(), *g.params, nullptr);
      window.choose = [&](FileChoice) { return file; };
      window.Click(g, ctl::kDice);
      window.Type(g, kEditA, "3");
      window.Tick(g);
      window.Click(g, ctl::kHex);
      window.ClickAt(g, LookupControl(39).rect.left + 100, CentreY(39));
      window.Click(g, ctl::kReset);
      window.Click(g, ctl::kLoad);
      window.Click(g, ctl::kRandomseed);
      window.Click(g, ctl::kNextGlue);
      window.Type(g, kEditA, "61");  // typed, not yet taken
      EXPECT_NE(ParamSet(*g.params), opening);
      if (boxOpen < 0) {
        window.Click(g, ctl::kCancel);
      } else {
        window.whileBoxOpen = [&] { window.Click(g, ctl::kCancel); };
        window.Click(g, boxOpen);
      }
      EXPECT_EQ(ParamSet(*g.params), opening);
    });
    EXPECT_EQ(window.endCode, ctl::kCancel);
    EXPECT_EQ(ParamSet(*host_->ParametersAs<RenderParams>()), opening);
    EXPECT_EQ(run.result, ps::userCanceledErr);
    EXPECT_EQ(run.continueCalls, 0);
  }
}

TEST_F(DialogControls, FloatImagesDisableTheGlueControls) {
  depth_ = 32;
  Run([&](Globals& g) {
    const auto& r = stellane::Dialog(g);
    EXPECT_EQ(r.enabled[ctl::kGlueLabel], 0);
    EXPECT_EQ(r.enabled[ctl::kNextGlue], 0);
    EXPECT_EQ(r.enabled[kTrackA], 1);
  });
  depth_ = 8;
  Run([&](Globals& g) { EXPECT_EQ(stellane::Dialog(g).enabled[ctl::kGlueLabel], 1); });
}

// Width and height from a PSD file's header, or {0, 0}.
std::pair<int, int> PsdSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char h[26] = {};
  if (!in.read(reinterpret_cast<char*>(h), sizeof h) || std::string(h, h + 4) != "8BPS")
    return {0, 0};
  auto be32 = [&](int at) { return h[at] << 24 | h[at + 1] << 16 | h[at + 2] << 8 | h[at + 3]; };
  return {be32(18), be32(14)};
}

TEST_F(DialogControls, ExportsWhereTheUserChoseAndNothingOnCancel) {
  const std::string chosen = temp_.In("chosen.psd");
  Run(
      [&](Globals& g) {
        window.Click(g, ctl::kPsd);  // the chooser is cancelled
        ASSERT_EQ(window.choosers.size(), 1u);
        EXPECT_EQ(window.choosers[0], FileChoice::SavePsd);
        EXPECT_EQ(window.proposedNames[0], "Stellane result.psd");
        EXPECT_TRUE(window.psdExports.empty());

        window.choose = [&](FileChoice) { return chosen; };
        window.Click(g, ctl::kPsd);
        EXPECT_EQ(window.psdExports, std::vector<std::string>{chosen});
        EXPECT_EQ(PsdSize(chosen), std::make_pair(37, 23));
        // The next export starts in the folder of this one.
        EXPECT_EQ(std::string(g.params->psdFolder) + "chosen.psd", chosen);
        // The dialog carries on: its preview still renders into the host.
        EXPECT_EQ(g.params->renderTarget, 1);
      },
      37, 23);
}

}  // namespace
}  // namespace dialogtest
