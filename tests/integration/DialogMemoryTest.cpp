// Undo, the snapshot that follows each command, the memory dots and the
// settings files the dialog reads and writes.

#include <filesystem>
#include <fstream>

#include "DialogRig.h"
#include "params/ParamTable.h"
#include "params/SettingsFile.h"

namespace dialogtest {
namespace {

namespace ctl = stellane::ctl;
using stellane::DotState;
using stellane::RenderParams;

constexpr int Dot(int i) { return ctl::kFirstDot + i; }

std::string DotFile(int i) { return "Stellane memory dot " + std::to_string(i) + ".q9r"; }

// A click on dot i, with the right button or Ctrl held if asked.
void ClickDot(FakeWindow& window, Globals& g, int i, bool right = false, bool ctrl = false) {
  window.ClickAt(g, CentreX(Dot(i)), CentreY(Dot(i)), right, ctrl);
}

using DialogMemory = DialogRun;

TEST_F(DialogMemory, UndoReachesTheLastTwoStates) {
  Run([&](Globals& g) {
    const int opening = g.params->glue;
    window.Click(g, ctl::kUndo);
    EXPECT_EQ(g.params->glue, opening) << "one valid slot: nothing to undo";
    window.Click(g, ctl::kNextGlue);
    window.Click(g, ctl::kUndo);
    EXPECT_EQ(g.params->glue, opening);
    EXPECT_EQ(window.selection, opening - 1);
    window.Click(g, ctl::kUndo);
    EXPECT_EQ(g.params->glue, opening + 1);
  });
  EXPECT_TRUE(temp_.Has("Stellane undo 1")) << "the dialog opened after a snapshot with file";
}

TEST_F(DialogMemory, SnapshotFollowingEachCommand) {
  const std::string file = temp_.In("loaded.q9r");
  Run([&](Globals& g) {
    stellane::WriteSettingsFile(file.c_str(), *g.params, nullptr);
    auto snapshotAfter = [&](const std::function<void()>& act) {
      const int slot = g.undoSlot;
      act();
      if (g.undoSlot == slot) return std::string("none");
      return std::string(stellane::Dialog(g).undo[g.undoSlot].onDisk ? "file" : "memory");
    };
    for (int c : {ctl::kNextGlue, ctl::kDice, ctl::kHex, ctl::kRandomseed, ctl::kReset,
                  ctl::kChipA1, ctl::kChipB2, ctl::kPsd, ctl::kInfo})
      EXPECT_EQ(snapshotAfter([&] { window.Click(g, c); }), "memory") << c;
    for (int c : {ctl::kSave, ctl::kZoomIn, ctl::kZoomOut, ctl::kZoomFull, ctl::kLogo,
                  ctl::kPresetPage, 36, 86, ctl::kStatusLine})
      EXPECT_EQ(snapshotAfter([&] { window.Click(g, c); }), "none") << c;
    EXPECT_EQ(snapshotAfter([&] {
                window.selection = 4;
                stellane::DialogCommand(g, ctl::kGlueList, stellane::kNotifySelectionChanged);
              }),
              "memory");
    EXPECT_EQ(snapshotAfter([&] { window.ClickAt(g, CentreX(39), CentreY(39)); }), "memory");
    EXPECT_EQ(snapshotAfter([&] {
                window.Type(g, 85, "12");
                window.Tick(g);
              }),
              "memory");

    // Save writes the shown settings where the user chose, without a snapshot.
    const std::string saved = temp_.In("saved.q9r");
    window.choose = [&](FileChoice kind) {
      EXPECT_EQ(kind, FileChoice::SaveSettings);
      return saved;
    };
    window.Type(g, 86, "23");
    window.Tick(g);
    EXPECT_EQ(snapshotAfter([&] { window.Click(g, ctl::kSave); }), "none");
    RenderParams back{};
    stellane::ReadSettingsFile(saved.c_str(), stellane::SettingsReadMode::Values, back, nullptr);
    EXPECT_EQ(std::vector<int>({back.paramA, back.density, back.glue}),
              std::vector<int>({23, g.params->density, g.params->glue}));

    window.choose = [&](FileChoice) { return file; };
    EXPECT_EQ(snapshotAfter([&] { window.Click(g, ctl::kLoad); }), "file");
    EXPECT_TRUE(temp_.Has(g.undoSlot ? "Stellane undo 1" : "Stellane undo 0"));
    // Dots: storing into an empty one and Ctrl-clicks keep no snapshot;
    // recalling a filled one does.
    EXPECT_EQ(snapshotAfter([&] { ClickDot(window, g, 3); }), "none");
    EXPECT_EQ(snapshotAfter([&] { ClickDot(window, g, 3, false, true); }), "none");
    EXPECT_EQ(snapshotAfter([&] { ClickDot(window, g, 3); }), "file");
  });
}

TEST_F(DialogMemory, DotsStoreRecallAndEmpty) {
  Run([&](Globals& g) {
    const auto& r = stellane::Dialog(g);
    // The opening keeps the incoming settings in the first unpinned dot.
    EXPECT_EQ(r.dotStates[0], DotState::Current);
    EXPECT_TRUE(temp_.Has(DotFile(0).c_str()));
    EXPECT_EQ(g.dotPins.pinned[0], 0);
    const int glue = g.params->glue;

    ClickDot(window, g, 4, false, true);  // Ctrl: unpinned
    EXPECT_EQ((std::pair{r.dotStates[4], r.dotStates[0]}),
              (std::pair{DotState::Current, DotState::Filled}));
    EXPECT_EQ(g.dotPins.pinned[4], 0);
    EXPECT_TRUE(temp_.Has(DotFile(4).c_str()));

    ClickDot(window, g, 6, true);  // right button on empty: store
    EXPECT_EQ(r.dotStates[6], DotState::Current);
    EXPECT_EQ(g.dotPins.pinned[6], 1);
    using stellane::DotPicture;
    EXPECT_EQ((std::vector{stellane::DotPictureOf(g, 6), stellane::DotPictureOf(g, 4),
                           stellane::DotPictureOf(g, 5)}),
              (std::vector{DotPicture::PinnedCurrent, DotPicture::Unpinned, DotPicture::Empty}));
    ClickDot(window, g, 6, true);  // and on filled: empty it
    EXPECT_EQ(r.dotStates[6], DotState::Empty);
    EXPECT_EQ(g.dotPins.pinned[6], 0);
    EXPECT_EQ(r.shownDot, -1);
    EXPECT_FALSE(temp_.Has(DotFile(6).c_str())) << "an emptied dot keeps no settings";

    // Released outside, a pressed dot still acts.
    window.Press(g, CentreX(Dot(7)), CentreY(Dot(7)));
    EXPECT_EQ(r.controlValues[Dot(7)] & stellane::kDotPressedBit, stellane::kDotPressedBit);
    EXPECT_EQ(stellane::DotPictureOf(g, 7), stellane::DotPicture::EmptyPressed);
    window.Move(g, 5, 5);
    EXPECT_EQ(r.controlValues[Dot(7)] & stellane::kDotPressedBit, 0);
    stellane::DialogMouseRelease(g, 5, 5);
    EXPECT_EQ(r.dotStates[7], DotState::Empty);
    window.Pump(g);
    EXPECT_EQ(r.dotStates[7], DotState::Current);
    EXPECT_EQ(g.dotPins.pinned[7], 1);

    window.Click(g, ctl::kNextGlue);
    EXPECT_NE(g.params->glue, glue);
    ClickDot(window, g, 4);  // recall
    EXPECT_EQ(g.params->glue, glue);
    EXPECT_EQ((std::pair{r.dotStates[4], r.dotStates[7]}),
              (std::pair{DotState::Current, DotState::Filled}));
  });
}

TEST_F(DialogMemory, PinnedDotsSurviveRunsThroughTheDirectoryFile) {
  Run([&](Globals& g) { ClickDot(window, g, 3); });
  Run([&](Globals& g) {
    const auto& r = stellane::Dialog(g);  // the scratch dot 0 is reused
    EXPECT_EQ((std::vector{r.dotStates[3], r.dotStates[0], r.dotStates[1]}),
              (std::vector{DotState::Filled, DotState::Current, DotState::Empty}));
  });
  // All pinned: the opening stores nothing (dots 0 and 3 keep their files).
  stellane::DotPins all{};
  for (auto& pin : all.pinned) pin = 1;
  ASSERT_EQ(stellane::WriteDotDirectoryFile(temp_.In("Stellane directory 2").c_str(), all), 0);
  Run([&](Globals& g) {
    for (DotState s : stellane::Dialog(g).dotStates) EXPECT_EQ(s, DotState::Filled);
  });
  for (int i = 0; i < 25; ++i) EXPECT_EQ(temp_.Has(DotFile(i).c_str()), i == 0 || i == 3) << i;
}

TEST_F(DialogMemory, HoverShowsOnlyThePictureAClickLoads) {
  // Dot 8's file is left from an earlier run; the dot is empty in this one.
  RenderParams stale{};
  stellane::InitNewRenderParams(stale);
  stellane::WriteSettingsFile(temp_.In(DotFile(8).c_str()).c_str(), stale, nullptr);
  Run([&](Globals& g) {
    // The opening stored into dot 0 and shows its picture.
    const bool& shown = g.dialogSession->dotThumbnailLoaded;
    EXPECT_EQ(stellane::Dialog(g).shownDot, 0);
    EXPECT_TRUE(shown);
    const int& repaints = window.repaints[ctl::kDotThumbnail];

    // Onto a dot without settings (no file, or a stale one) the picture of
    // dot 0 goes, and a click on the thumbnail then loads nothing.
    const int glue = g.params->glue;
    window.Click(g, ctl::kNextGlue);
    const auto& thumb = stellane::LookupControl(ctl::kDotThumbnail).rect;
    for (int empty : {5, 8}) {
      window.Move(g, CentreX(Dot(0)), CentreY(Dot(0)));
      EXPECT_TRUE(shown);
      const int painted = repaints;
      window.Move(g, CentreX(Dot(empty)), CentreY(Dot(empty)));
      EXPECT_EQ(stellane::Dialog(g).shownDot, empty);
      EXPECT_FALSE(shown) << empty;
      EXPECT_EQ(repaints, painted + 1) << empty;
      window.ClickAt(g, thumb.left + 40, thumb.top + 40);
      EXPECT_EQ(g.params->glue, glue + 1) << empty;
    }
    // Shown, it loads.
    window.Move(g, CentreX(Dot(0)), CentreY(Dot(0)));
    window.ClickAt(g, thumb.left + 40, thumb.top + 40);
    EXPECT_EQ(g.params->glue, glue);
  });
}

TEST_F(DialogMemory, LoadStartsFromTheDefaults) {
  const std::string file = temp_.In("only-version.q9r");
  {
    std::ofstream out(file, std::ios::binary);
    out.write("\0\0\0\x32", 4);  // version 50 and no values
  }
  Run([&](Globals& g) {
    window.Click(g, ctl::kDice);
    RenderParams expected = *g.params;
    stellane::LoadDefaults(expected);
    window.choose = [&](FileChoice kind) {
      EXPECT_EQ(kind, FileChoice::OpenSettings);
      return file;
    };
    window.Click(g, ctl::kLoad);
    EXPECT_EQ(ParamSet(*g.params), ParamSet(expected));
    EXPECT_STREQ(g.params->settingsFileName, "only-version.q9r");
    EXPECT_EQ(std::string(g.params->settingsFolder) + "only-version.q9r", file);
  });
}

TEST_F(DialogMemory, BatchRewritesMatchingFilesAndKeepsTheCurrentSettings) {
  namespace fs = std::filesystem;
  const fs::path folder = temp_.Folder() / "presets";
  fs::create_directories(folder);
  RenderParams p{};
  stellane::InitNewRenderParams(p);
  auto write = [&](const char* name, int paramA) {
    p.paramA = paramA;
    stellane::WriteSettingsFile((folder / name).string().c_str(), p, nullptr);
  };
  for (auto [name, paramA] :
       {std::pair{"a.q9q", 11}, {"b.q5q.q9r", 22}, {"c.q9r", 33}, {"d.q9q", 44}})
    write(name, paramA);
  fs::permissions(folder / "d.q9q", fs::perms::owner_write, fs::perm_options::remove);
  const auto sizeOf = [&](const char* name) { return fs::file_size(folder / name); };
  const auto plainSize = sizeOf("c.q9r");

  Run([&](Globals& g) {
    window.Type(g, 86, "66");
    window.Tick(g);
    window.choose = [&](FileChoice kind) {
      EXPECT_EQ(kind, FileChoice::AnyFileInFolder);
      return (folder / "c.q9r").string();
    };
    const auto& thumb = stellane::LookupControl(ctl::kDotThumbnail).rect;
    window.ClickAt(g, thumb.left + 40, thumb.top + 40, false, true);
    EXPECT_EQ(g.params->paramA, 66);
    EXPECT_EQ(window.texts[86], "66");
  });
  for (const char* name : {"a.q9q", "b.q5q.q9r"}) {
    RenderParams read{};
    stellane::TiledImage thumbnail;
    stellane::InitTiledImage(thumbnail);
    stellane::CreateTiledImage(thumbnail, 128, 128, 3);
    const auto result = stellane::ReadSettingsFile(
        (folder / name).string().c_str(), stellane::SettingsReadMode::Values, read, &thumbnail);
    EXPECT_TRUE(result.thumbnailPresent) << name;
    EXPECT_EQ(read.paramA, name[0] == 'a' ? 11 : 22);
    stellane::ReleaseTiledImage(thumbnail);
  }
  EXPECT_EQ(sizeOf("c.q9r"), plainSize) << "names without q9q or q5q are left alone";
  EXPECT_EQ(sizeOf("d.q9q"), plainSize) << "read-only files are left alone";
  EXPECT_EQ(host_->ParametersAs<RenderParams>()->paramA, 66);
}

}  // namespace
}  // namespace dialogtest
