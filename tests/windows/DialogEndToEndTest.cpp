// The main dialog under Wine, used the way a user would: stellane.exe renders
// with --dialog, this program works its controls and checks what the run wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "DialogDriver.h"

namespace {

using namespace wintest;

constexpr int kWebsiteButton = 5;  // of the About box

using Dialog = DialogScenario;

TEST_F(Dialog, DragTypeGlueAndOkRenderTheChosenSettings) {
  ASSERT_TRUE(Start("ok", "--glue add")) << "no dialog appeared";
  // Slider A: its track runs from x 129 to 264 at y 47; the pointer holds
  // the knob 4 pixels in, so x 195 is the value 50.
  DragIn(run_.dialog, 140, 52, 195, 52);
  EXPECT_EQ(TextOf(run_.dialog, kEditA), "50");
  // Dragging past the end clamps.
  DragIn(run_.dialog, 140, 138, 400, 138);
  EXPECT_EQ(TextOf(run_.dialog, kEditScale), "100");
  TypeInto(run_.dialog, kEditScale, "33");
  Settle(run_.dialog, 1500);  // the edit timer renders the preview
  PressButton(run_.dialog, kNextGlue);
  Screenshot(run_.dialog, "ok");
  const std::string record = PressOkForRecord();
  EXPECT_NE(record.find("0007 long 50\n"), std::string::npos) << record;
  EXPECT_NE(record.find("0010 long 33\n"), std::string::npos) << record;
  EXPECT_NE(record.find("GLUE enum GLty GL08\n"), std::string::npos) << record;  // add, then N
}

TEST_F(Dialog, DiceShowsNewSettingsAndOkRecordsWhatWasShown) {
  ASSERT_TRUE(Start("dice")) << "no dialog appeared";
  const std::string before = TextOf(run_.dialog, kEditA) + "/" + TextOf(run_.dialog, kEditDensity);
  PressButton(run_.dialog, kDice);
  PressButton(run_.dialog, kDice);
  const std::string a = TextOf(run_.dialog, kEditA);
  EXPECT_NE(a + "/" + TextOf(run_.dialog, kEditDensity), before);
  Screenshot(run_.dialog, "dice");
  // Enter presses the default button, OK.
  PostMessageA(GetDlgItem(run_.dialog, kEditA), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(FinishDialogRun(run_, 120), 0);
  EXPECT_TRUE(Exists(output_));
  EXPECT_NE(ReadText(record_).find("0007 long " + a + "\n"), std::string::npos);
}

// The whole number after `key` in a recorded descriptor, or -1.
long RecordedLong(const std::string& record, const std::string& key) {
  const std::size_t at = record.find(key + " long ");
  return at == std::string::npos ? -1 : std::stol(record.substr(at + key.size() + 6));
}

TEST_F(Dialog, ResetGlueListRandomseedHexAndAboutDoWhatTheySay) {
  ShellOpenStub shell("test-tmp\\dialog-shell-opened.txt");
  ASSERT_TRUE(Start("commands", "--set paramA=80 --set density=7 --glue screen"))
      << "no dialog appeared";
  ASSERT_EQ(TextOf(run_.dialog, kEditA), "80");
  // Without a host window: over the desktop, centred and moved left by a
  // caption's height (the dialog has a system menu), a third of the free
  // height down.
  RECT work, box;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  ASSERT_TRUE(GetWindowRect(run_.dialog, &box));
  EXPECT_EQ(box.left, work.left + (work.right - work.left - (box.right - box.left)) / 2 -
                          GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(box.top, work.top + (work.bottom - work.top - (box.bottom - box.top)) / 3);

  // Reset: every default, paramA 43, density 29, the glue "normal" and the
  // first chip's (227, 220, 27).
  PressButton(run_.dialog, kReset);
  EXPECT_EQ(TextOf(run_.dialog, kEditA), "43");
  EXPECT_EQ(TextOf(run_.dialog, kEditDensity), "29");
  EXPECT_EQ(TextOf(run_.dialog, kGlueList), "normal");
  Settle(run_.dialog, 200);
  const std::uint32_t chip = CentreColour(GetDlgItem(run_.dialog, kChipA1));
  EXPECT_EQ(chip, 0xE3DC1Bu) << std::hex << chip;
  Screenshot(run_.dialog, "reset");

  // The list's fifth entry is glue 5.
  SendDlgItemMessageA(run_.dialog, kGlueList, CB_SETCURSEL, 4, 0);
  PostMessageA(run_.dialog, WM_COMMAND, MAKEWPARAM(kGlueList, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(run_.dialog, kGlueList)));
  Settle(run_.dialog, 100);

  // Randomseed changes the seed alone, Hex the four colours alone.
  PressButton(run_.dialog, kRandomseed);
  PressButton(run_.dialog, kHex);
  Settle(run_.dialog, 200);
  EXPECT_NE(CentreColour(GetDlgItem(run_.dialog, kChipA1)), chip);
  EXPECT_EQ(TextOf(run_.dialog, kEditA), "43");
  Screenshot(run_.dialog, "hex");

  // The logo opens the About box, owned by no window; its button opens the
  // website in the browser and closes it.
  ClickIn(run_.dialog, 17 + 16, 528 + 16);
  HWND about = FindRunDialog(run_, "About", 20);
  ASSERT_NE(about, nullptr) << "no About box";
  EXPECT_EQ(GetWindow(about, GW_OWNER), nullptr);
  Screenshot(about, "about");
  PressButton(about, kWebsiteButton);
  EXPECT_TRUE(WaitUntilClosed(about, 20)) << "the About box stayed open";
  const std::string opened = shell.WaitFor("https://", 20);
  EXPECT_NE(opened.find("https://"), std::string::npos) << opened;

  // OK beside an open About box ends the run, and the box goes with the dialog.
  ClickIn(run_.dialog, 17 + 16, 528 + 16);
  about = FindRunDialog(run_, "About", 20);
  ASSERT_NE(about, nullptr) << "no second About box";
  PressButton(run_.dialog, kOk);
  EXPECT_TRUE(WaitUntilClosed(about, 20)) << "the About box outlived the dialog";
  EXPECT_EQ(FinishDialogRun(run_, 120), 0);
  const std::string record = ReadText(record_);
  EXPECT_EQ(RecordedLong(record, "0007"), 43) << record;
  EXPECT_EQ(RecordedLong(record, "0008"), 29) << record;
  EXPECT_NE(record.find("GLUE enum GLty GL05\n"), std::string::npos) << record;
  // The default seed is 67676767; Randomseed draws from 0 to 2047.
  EXPECT_GE(RecordedLong(record, "0019"), 0) << record;
  EXPECT_LE(RecordedLong(record, "0019"), 2047) << record;
  EXPECT_EQ(record.find("0001 long 227\n0002 long 220\n0003 long 27\n"), std::string::npos)
      << record;
}

// The control that has the keyboard focus in the dialog's thread.
int FocusedControl(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) || !info.hwndFocus)
    return 0;
  return GetDlgCtrlID(info.hwndFocus);
}

TEST_F(Dialog, TabFollowsTheLayoutAndAltCCancels) {
  ASSERT_TRUE(Start("keys")) << "no dialog appeared";
  // One round of Tab through the dialog, keeping the edit boxes it passes.
  std::vector<int> edits;
  const int first = FocusedControl(run_.dialog);
  for (int step = 0; step < 60; ++step) {
    HWND focus = GetDlgItem(run_.dialog, FocusedControl(run_.dialog));
    PostMessageA(focus ? focus : run_.dialog, WM_KEYDOWN, VK_TAB, 0);
    Settle(run_.dialog, 20);
    const int now = FocusedControl(run_.dialog);
    char kind[16] = {};
    GetClassNameA(GetDlgItem(run_.dialog, now), kind, sizeof kind);
    if (_stricmp(kind, "Edit") == 0) edits.push_back(now);
    if (now == first) break;
  }
  // The sliders' boxes top to bottom: A, B, scale, texture, fibrousness,
  // contrast, opacity; then density, brightness, scale, depth, colour.
  const std::vector<int> layout = {86, 40, 90, 91, 94, 92, 111, 85, 83, 93, 99, 81};
  std::vector<int> seen;
  for (int e : edits)
    if (std::find(seen.begin(), seen.end(), e) == seen.end()) seen.push_back(e);
  const auto start = std::find(seen.begin(), seen.end(), layout.front());
  ASSERT_NE(start, seen.end());
  std::rotate(seen.begin(), start, seen.end());
  EXPECT_EQ(seen, layout);
  // The mnemonic of "&Cancel".
  PostMessageA(GetDlgItem(run_.dialog, FocusedControl(run_.dialog)), WM_SYSCHAR, 'c', 1 << 29);
  EXPECT_EQ(FinishDialogRun(run_, 60), kExitCancelled);
}

TEST_F(Dialog, ZoomButtonsAndPanningOnAPictureLargerThanThePreview) {
  // 1100 x 900 fits the 500 x 406 preview area at a reduction of 3.
  ASSERT_NO_FATAL_FAILURE(WriteInput("large", 1100, 900));
  ASSERT_TRUE(Start("zoom")) << "no dialog appeared";
  const auto enabled = [&](int button) { return IsWindowEnabled(GetDlgItem(run_.dialog, button)); };
  // At the fit factor there is nothing further out.
  EXPECT_EQ(TextOf(run_.dialog, kZoomFull), "33%");
  EXPECT_FALSE(enabled(kZoomOut));
  EXPECT_TRUE(enabled(kZoomIn));
  PressButton(run_.dialog, kZoomIn);
  EXPECT_EQ(TextOf(run_.dialog, kZoomFull), "50%");
  EXPECT_TRUE(enabled(kZoomOut));
  EXPECT_TRUE(enabled(kZoomIn));
  PressButton(run_.dialog, kZoomFull);
  EXPECT_EQ(TextOf(run_.dialog, kZoomFull), "100%");
  EXPECT_FALSE(enabled(kZoomIn));
  EXPECT_TRUE(enabled(kZoomOut));
  // Zoomed in, the preview pans by dragging; the zoom stays.
  DragIn(run_.dialog, 700, 200, 600, 150);
  EXPECT_EQ(TextOf(run_.dialog, kZoomFull), "100%");
  Screenshot(run_.dialog, "zoom");
  PressButton(run_.dialog, kZoomOut);
  EXPECT_EQ(TextOf(run_.dialog, kZoomFull), "50%");
  PressButton(run_.dialog, kZoomOut);
  EXPECT_EQ(TextOf(run_.dialog, kZoomFull), "33%");
  EXPECT_FALSE(enabled(kZoomOut));
  CancelWithEscape();
}

}  // namespace
