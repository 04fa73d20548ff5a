// The main dialog's file scenarios under Wine: the PSD export with its
// progress window (cancelled there), and loading a preset through the
// preset browser, from the library beside the module and from a folder of
// the user's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogDriver.h"

namespace {

using namespace wintest;

constexpr int kStageText = 101, kPercentText = 102;  // of the progress window

class DialogExports : public DialogScenario {
 protected:
  // Presses "PSD" and answers the save chooser, which proposes our name.
  void ExportTo(const std::string& psd) {
    PressButton(dialog_, kPsd);
    HWND chooser = FindRunDialog("Save a PSD file", 20);
    ASSERT_NE(chooser, nullptr) << "no PSD save chooser";
    EXPECT_NE(ChooserFileName(chooser).find("Stellane result"), std::string::npos)
        << ChooserFileName(chooser);
    ASSERT_TRUE(AnswerFileChooser(chooser, psd));
  }

  // Presses Load, selects the preset browser's first file and sees the pane
  // turn from the grey ramp to that file's thumbnail.
  void BrowseToFirstFile(const std::string& screenshot, HWND& browser) {
    PressButton(dialog_, kLoad);
    browser = FindRunDialog("Open a settings file", 20);
    ASSERT_NE(browser, nullptr) << "no preset browser";
    HWND pane = FindControl(browser, kPresetPane);
    ASSERT_NE(pane, nullptr) << "the browser has no thumbnail pane";
    Settle(browser, 300);
    // Nothing selected: the pane shows the grey ramp.
    const std::uint32_t ramp = CentreColour(pane);
    EXPECT_EQ(ramp >> 16, ramp & 0xFF) << std::hex << ramp;
    ASSERT_TRUE(SelectFirstListedFile(browser)) << "the browser has no file list";
    Settle(browser, 500);
    EXPECT_NE(CentreColour(pane), ramp) << "the pane still shows the grey ramp";
    Screenshot(browser, screenshot);
  }

  std::string Edits(HWND dialog) {
    std::string texts;
    for (int edit : {kEditA, kEditDensity, kEditScale, kEditDepth})
      texts += TextOf(dialog, edit) + "/";
    return texts;
  }
};

TEST_F(DialogExports, PsdExportShowsItsProgressAndWritesTheImageSize) {
  const std::string psd = FullPath("test-tmp\\exports-result.psd");
  DeleteFileA(psd.c_str());
  ASSERT_TRUE(Start("psd")) << "no dialog appeared";

  ASSERT_NO_FATAL_FAILURE(ExportTo(psd));

  // The progress window waits a second before it renders.
  HWND progress = FindRunDialog("PSD file progress", 20);
  ASSERT_NE(progress, nullptr) << "no progress window";
  EXPECT_EQ(TextOf(progress, kStageText), "Rendering...");
  Screenshot(progress, "psd-progress");
  ASSERT_TRUE(WaitUntilClosed(progress, 60)) << "the progress window stayed open";

  // The header's height 62 and width 90, big-endian (ExportPsdTest reads the
  // rest of the file).
  const std::string header = ReadText(psd);
  ASSERT_GE(header.size(), 26u) << "no PSD file written";
  EXPECT_EQ(header.substr(14, 8), std::string("\0\0\0\x3e\0\0\0\x5a", 8));

  // The dialog carries on, and OK still renders the host image.
  PressOkForRecord();
}

TEST_F(DialogExports, PresetBrowserOpensTheLibraryFirstThenTheFolderOfTheLastSave) {
  // A folder of its own: the browser lists the one preset saved below.
  const std::string folder = FullPath("test-tmp\\presets");
  const std::string preset = folder + "\\starry.q9r";
  CreateDirectoryA(folder.c_str(), nullptr);
  DeleteFileA(preset.c_str());
  ASSERT_TRUE(Start("presets")) << "no dialog appeared";

  // First the library's first preset by name (presets/library.txt), from
  // the folder "presets" beside Stellane.8bf in the build folder, with its
  // paramA and density as the table gives them.
  HWND browser = nullptr;
  ASSERT_NO_FATAL_FAILURE(BrowseToFirstFile("preset-library", browser));
  const std::string first = ChooserFileName(browser);
  EXPECT_NE(first.find("Aurora veils"), std::string::npos) << first;
  ASSERT_TRUE(AnswerFileChooser(browser, first));
  Settle(dialog_, 500);
  EXPECT_EQ(TextOf(dialog_, kEditA), "75");
  EXPECT_EQ(TextOf(dialog_, kEditDensity), "20");

  PressButton(dialog_, kDice);
  const std::string saved = Edits(dialog_);
  PressButton(dialog_, kSave);
  ASSERT_NO_FATAL_FAILURE(Choose("Save a settings file", preset));
  Settle(dialog_, 200);
  ASSERT_TRUE(Exists(preset)) << "no preset saved";
  PressButton(dialog_, kDice);
  ASSERT_NE(Edits(dialog_), saved);

  ASSERT_NO_FATAL_FAILURE(BrowseToFirstFile("preset-browser", browser));
  ASSERT_TRUE(AnswerFileChooser(browser, preset));
  Settle(dialog_, 500);
  EXPECT_EQ(Edits(dialog_), saved);
  Screenshot(dialog_, "preset-loaded");
  CancelWithEscape();
}

TEST_F(DialogExports, CancelInTheProgressWindowStopsTheExportAndWritesNothing) {
  // Large enough that the export takes a while, so that Cancel reaches it
  // between rows.
  ASSERT_NO_FATAL_FAILURE(WriteInput("huge", 2000, 1500));
  const std::string psd = FullPath("test-tmp\\exports-cancelled.psd");
  DeleteFileA(psd.c_str());
  ASSERT_TRUE(Start("psd-cancel")) << "no dialog appeared";

  ASSERT_NO_FATAL_FAILURE(ExportTo(psd));
  HWND progress = FindRunDialog("PSD file progress", 20);
  ASSERT_NE(progress, nullptr) << "no progress window";
  // Once the percentage moves, the rendering runs: Cancel.
  std::string percent = "0%";
  for (int waited = 0; waited < 3000 && percent == "0%" && IsWindow(progress); ++waited) {
    Sleep(10);
    percent = TextOf(progress, kPercentText);
  }
  ASSERT_NE(percent, "0%") << "the percentage never moved";
  ASSERT_NE(percent, "100%") << "the export ended before it could be cancelled";
  Screenshot(progress, "psd-progress-running");
  PressButton(progress, IDCANCEL);
  ASSERT_TRUE(WaitUntilClosed(progress, 30)) << "the progress window stayed open";
  EXPECT_FALSE(Exists(psd)) << "a cancelled export left a file";

  CancelWithEscape();
}

}  // namespace
