// The main dialog under Wine, used the way a user would: stellane.exe renders
// with --dialog, this program works the real window's controls, keyboard,
// timers and choosers step by step, checks what each step shows, and at the
// end what the run wrote. (What the dialog computes is checked natively.)
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "DialogDriver.h"

namespace {

using namespace wintest;

constexpr int kChooserRed = 706, kChooserGreen = 707, kChooserBlue = 708;  // colour chooser
constexpr int kStageText = 101, kPercentText = 102;  // of the PSD progress window
constexpr std::uint32_t kDefaultChipA1 = 0xE3DC1B;   // (227, 220, 27)

// One user action and what the dialog must show after it: the text of
// controls, and any further checks the action makes itself.
struct Step {
  const char* what;
  std::function<void()> act;
  std::vector<std::pair<int, const char*>> shows = {};
};

// The whole number after `key` in a recorded descriptor, or -1.
long RecordedLong(const std::string& record, const std::string& key) {
  const std::size_t at = record.find(key + " long ");
  return at == std::string::npos ? -1 : std::stol(record.substr(at + key.size() + 6));
}

// The control that has the keyboard focus in the dialog's thread.
int FocusedControl(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) || !info.hwndFocus)
    return 0;
  return GetDlgCtrlID(info.hwndFocus);
}

// Memory dot 3: a 12 x 12 area at (456, 401) whose 8 x 8 picture sits 2
// pixels down.
constexpr int kDotTop = 456, kDotLeft = 401;
std::vector<COLORREF> DotLook(HWND dialog) {
  Settle(dialog, 100);
  POINT at = {kDotLeft, kDotTop + 2};
  ClientToScreen(dialog, &at);
  HDC screen = GetDC(nullptr);
  std::vector<COLORREF> look;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) look.push_back(GetPixel(screen, at.x + x, at.y + y));
  ReleaseDC(nullptr, screen);
  return look;
}

class Dialog : public DialogScenario {
 protected:
  // Presses "PSD" and answers the save chooser, which proposes our name.
  void ExportTo(const std::string& psd) {
    DeleteFileA(psd.c_str());
    PressButton(dialog_, kPsd);
    HWND chooser = FindRunDialog("Save a PSD file", 20);
    ASSERT_NE(chooser, nullptr) << "no PSD save chooser";
    EXPECT_NE(ChooserFileName(chooser).find("Stellane result"), std::string::npos)
        << ChooserFileName(chooser);
    ASSERT_TRUE(AnswerFileChooser(chooser, psd));
  }

  // Presses Load, sees the browser's pane turn from the grey ramp to the
  // thumbnail of the first listed file, and answers the browser with `path`
  // ("" the first file, which must be `first`).
  void LoadThroughTheBrowser(const std::string& path, const char* first = "") {
    PressButton(dialog_, kLoad);
    HWND browser = FindRunDialog("Open a settings file", 20);
    ASSERT_NE(browser, nullptr) << "no preset browser";
    HWND pane = FindControl(browser, kPresetPane);
    ASSERT_NE(pane, nullptr) << "the browser has no thumbnail pane";
    Settle(browser, 300);
    const std::uint32_t ramp = CentreColour(pane);
    EXPECT_EQ(ramp >> 16, ramp & 0xFF) << std::hex << ramp;
    ASSERT_TRUE(SelectFirstListedFile(browser)) << "the browser has no file list";
    Settle(browser, 500);
    EXPECT_NE(CentreColour(pane), ramp) << "the pane still shows the grey ramp";
    EXPECT_NE(ChooserFileName(browser).find(first), std::string::npos);
    ASSERT_TRUE(AnswerFileChooser(browser, path.empty() ? ChooserFileName(browser) : path));
    Settle(dialog_, 500);
  }

  std::string Edits() {
    std::string texts;
    for (int edit : {kEditA, kEditDensity, kEditScale, kEditDepth})
      texts += TextOf(dialog_, edit) + "/";
    return texts;
  }

  HWND OpenBox(const char* title, std::function<void()> open) {
    open();
    HWND box = FindRunDialog(title, 20);
    EXPECT_NE(box, nullptr) << "no " << title;
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << title << " is owned by a window";
    return box;
  }
};

TEST_F(Dialog, EveryControlKindDoesWhatItSaysAndEnterRendersTheResult) {
  const std::string folder = FullPath("test-tmp\\presets"), preset = folder + "\\starry.q9r";
  CreateDirectoryA(folder.c_str(), nullptr);
  DeleteFileA(preset.c_str());
  ASSERT_TRUE(Start("main", "--set paramA=80 --set density=7 --glue screen"));
  std::string saved, dotFile = temp_ + "Stellane memory dot 3.q9r";
  std::vector<COLORREF> emptyDot;
  HWND about = nullptr, info = nullptr;
  const Step steps[] = {
      {"opening", [] {}, {{kEditA, "80"}, {kEditDensity, "7"}, {kZoomFull, "100%"}}},
      {"placement without a host window",
       [&] {
         // Over the desktop, centred and moved left by a caption's height
         // (the dialog has a system menu), a third of the free height down.
         RECT work, box;
         ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
         ASSERT_TRUE(GetWindowRect(dialog_, &box));
         EXPECT_EQ(box.left, work.left + (work.right - work.left - (box.right - box.left)) / 2 -
                                 GetSystemMetrics(SM_CYCAPTION));
         EXPECT_EQ(box.top, work.top + (work.bottom - work.top - (box.bottom - box.top)) / 3);
         // The picture fits the preview: nothing to zoom into.
         EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, kZoomIn)));
       }},
      {"one round of Tab",
       [&] {
         // The sliders' boxes top to bottom: A, B, scale, texture,
         // fibrousness, contrast, opacity; then density, brightness, scale,
         // depth, colour.
         const std::vector<int> layout = {86, 40, 90, 91, 94, 92, 111, 85, 83, 93, 99, 81};
         std::vector<int> seen;
         const int first = FocusedControl(dialog_);
         for (int step = 0; step < 60; ++step) {
           HWND focus = GetDlgItem(dialog_, FocusedControl(dialog_));
           PostMessageA(focus ? focus : dialog_, WM_KEYDOWN, VK_TAB, 0);
           Settle(dialog_, 20);
           const int now = FocusedControl(dialog_);
           char kind[16] = {};
           GetClassNameA(GetDlgItem(dialog_, now), kind, sizeof kind);
           if (_stricmp(kind, "Edit") == 0 && std::count(seen.begin(), seen.end(), now) == 0)
             seen.push_back(now);
           if (now == first) break;
         }
         const auto start = std::find(seen.begin(), seen.end(), layout.front());
         ASSERT_NE(start, seen.end());
         std::rotate(seen.begin(), start, seen.end());
         EXPECT_EQ(seen, layout);
       }},
      // The library's first preset (presets/library.txt) from the folder
      // "presets" beside Stellane.8bf, with the table's paramA and density.
      {"library preset",
       [&] { LoadThroughTheBrowser("", "Aurora veils"); },
       {{kEditA, "75"}, {kEditDensity, "20"}}},
      {"Dice, Save, Dice, Load the saved file",
       [&] {
         PressButton(dialog_, kDice);
         saved = Edits();
         PressButton(dialog_, kSave);
         ASSERT_NO_FATAL_FAILURE(Choose("Save a settings file", preset));
         PressButton(dialog_, kDice);
         ASSERT_NE(Edits(), saved);
         // The browser opens in the folder of the last save.
         LoadThroughTheBrowser(preset);
         EXPECT_EQ(Edits(), saved);
       }},
      {"PSD export with its progress window",
       [&] {
         const std::string psd = FullPath("test-tmp\\exports-result.psd");
         ASSERT_NO_FATAL_FAILURE(ExportTo(psd));
         // The progress window waits a second before it renders.
         HWND progress = FindRunDialog("PSD file progress", 20);
         ASSERT_NE(progress, nullptr) << "no progress window";
         EXPECT_EQ(TextOf(progress, kStageText), "Rendering...");
         ASSERT_TRUE(WaitUntilClosed(progress, 60)) << "the progress window stayed open";
         // The header's height 62 and width 90, big-endian.
         EXPECT_EQ(ReadText(psd).substr(14, 8), std::string("\0\0\0\x3e\0\0\0\x5a", 8));
       }},
      {"Reset",
       [&] {
         PressButton(dialog_, kReset);
         Settle(dialog_, 200);
         EXPECT_EQ(CentreColour(GetDlgItem(dialog_, kChipA1)), kDefaultChipA1);
         emptyDot = DotLook(dialog_);
       },
       {{kEditA, "43"}, {kEditDensity, "29"}, {kGlueList, "normal"}}},
      // Slider A's track runs from x 129 to 264 at y 47; the pointer holds
      // the knob 4 pixels in, so x 195 is the value 50.
      {"drag slider A", [&] { DragIn(dialog_, 140, 52, 195, 52); }, {{kEditA, "50"}}},
      {"click an empty memory dot: it stores the settings",
       [&] {
         ClickIn(dialog_, kDotLeft + 6, kDotTop + 6);
         EXPECT_TRUE(Exists(dotFile));
         EXPECT_NE(DotLook(dialog_), emptyDot);
       }},
      {"drag slider A elsewhere",
       [&] {
         DragIn(dialog_, 195, 52, 150, 52);
         EXPECT_NE(TextOf(dialog_, kEditA), "50");
       }},
      {"click the filled dot: it brings its settings back",
       [&] { ClickIn(dialog_, kDotLeft + 6, kDotTop + 6); },
       {{kEditA, "50"}}},
      {"right-click the filled dot: it empties, the settings stay",
       [&] {
         ClickIn(dialog_, kDotLeft + 6, kDotTop + 6, true);
         EXPECT_EQ(DotLook(dialog_), emptyDot);
       },
       {{kEditA, "50"}}},
      {"drag past the end of a slider",
       [&] { DragIn(dialog_, 140, 138, 400, 138); },
       {{kEditScale, "100"}}},
      {"type into a box",
       [&] {
         TypeInto(dialog_, kEditScale, "33");
         Settle(dialog_, 1500);  // the edit timer renders the preview
       }},
      {"Randomseed and Hex",
       [&] {
         PressButton(dialog_, kRandomseed);
         PressButton(dialog_, kHex);
         Settle(dialog_, 200);
         EXPECT_NE(CentreColour(GetDlgItem(dialog_, kChipA1)), kDefaultChipA1);
       },
       {{kEditA, "50"}}},
      {"a chip takes the colour chosen in the colour chooser",
       [&] {
         PressButton(dialog_, kChipA1);
         HWND chooser = FindRunDialog("Color", 20);
         ASSERT_NE(chooser, nullptr) << "no colour chooser";
         SetDlgItemTextA(chooser, kChooserRed, "10");
         SetDlgItemTextA(chooser, kChooserGreen, "200");
         SetDlgItemTextA(chooser, kChooserBlue, "30");
         PressButton(chooser, IDOK);
         ASSERT_TRUE(WaitUntilClosed(chooser, 20)) << "the colour chooser stayed open";
         Settle(dialog_, 300);
         EXPECT_EQ(CentreColour(GetDlgItem(dialog_, kChipA1)), 0x0AC81Eu);
       }},
      {"the glue list's fifth entry, then the next glue",
       [&] {
         SendDlgItemMessageA(dialog_, kGlueList, CB_SETCURSEL, 4, 0);
         PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(kGlueList, CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(GetDlgItem(dialog_, kGlueList)));
         PressButton(dialog_, kNextGlue);
       },
       {{kGlueList, "darken"}}},
      // The logo opens the About box; "i" the info box, which any of its
      // buttons closes; the main dialog works on beside both.
      {"About and info boxes",
       [&] {
         about = OpenBox("About", [&] { ClickIn(dialog_, 17 + 16, 528 + 16); });
         info = OpenBox("Stellane tips", [&] { PressButton(dialog_, kInfo); });
         PressButton(info, IDOK);
         EXPECT_TRUE(WaitUntilClosed(info, 20)) << "the info box stayed open";
         info = OpenBox("Stellane tips", [&] { PressButton(dialog_, kInfo); });
         PressButton(dialog_, kNextGlue);
         PressButton(dialog_, kInfo);
         EXPECT_EQ(FindRunDialog("Stellane tips", 1), info) << "a second info box";
       },
       {{kGlueList, "add"}}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    ASSERT_NO_FATAL_FAILURE(step.act());
    for (const auto& [control, text] : step.shows) EXPECT_EQ(TextOf(dialog_, control), text);
  }

  // Enter presses the default button, OK; the boxes go with the dialog.
  PostMessageA(GetDlgItem(dialog_, kEditA), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitUntilClosed(about, 20)) << "the About box outlived the dialog";
  EXPECT_TRUE(WaitUntilClosed(info, 20)) << "the info box outlived the dialog";
  EXPECT_EQ(Finish(120), 0);
  EXPECT_TRUE(Exists(output_));
  const std::string record = ReadText(record_);
  EXPECT_EQ(RecordedLong(record, "0007"), 50) << record;
  EXPECT_EQ(RecordedLong(record, "0008"), 29) << record;
  EXPECT_EQ(RecordedLong(record, "0010"), 33) << record;
  EXPECT_NE(record.find("GLUE enum GLty GL07\n"), std::string::npos) << record;
  // The default seed is 67676767; Randomseed draws from 0 to 2047.
  EXPECT_GE(RecordedLong(record, "0019"), 0) << record;
  EXPECT_LE(RecordedLong(record, "0019"), 2047) << record;
  EXPECT_NE(record.find("0001 long 10\n0002 long 200\n0003 long 30\n"), std::string::npos)
      << record;
}

TEST_F(Dialog, CancelInTheProgressWindowStopsTheExportAndAltCCancelsTheRun) {
  // Large enough that the export takes a while, so that Cancel reaches it
  // between rows.
  ASSERT_NO_FATAL_FAILURE(WriteInput("huge", 2000, 1500));
  const std::string psd = FullPath("test-tmp\\exports-cancelled.psd");
  ASSERT_TRUE(Start("psd-cancel"));
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
  PressButton(progress, IDCANCEL);
  ASSERT_TRUE(WaitUntilClosed(progress, 30)) << "the progress window stayed open";
  EXPECT_FALSE(Exists(psd)) << "a cancelled export left a file";
  // The mnemonic of "&Cancel" ends the run, which writes no image.
  PostMessageA(GetDlgItem(dialog_, kEditA), WM_SYSCHAR, 'c', 1 << 29);
  EXPECT_EQ(Finish(60), kExitCancelled);
  EXPECT_FALSE(Exists(output_)) << "a cancelled run wrote its image";
}

}  // namespace
