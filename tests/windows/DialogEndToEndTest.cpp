// The main dialog under Wine, used the way a user would: stellane.exe renders
// with --dialog, this program works its controls and checks what the run wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "DialogDriver.h"

namespace {

using namespace wintest;

constexpr int kWebsiteButton = 5;  // of the About box
// The colour chooser's red, green and blue boxes.
constexpr int kChooserRed = 706, kChooserGreen = 707, kChooserBlue = 708;

using Dialog = DialogScenario;

TEST_F(Dialog, DragTypeGlueAndEnterRenderTheChosenSettings) {
  ASSERT_TRUE(Start("ok", "--glue add")) << "no dialog appeared";
  // The picture fits the preview: nothing to zoom into.
  EXPECT_EQ(TextOf(dialog_, kZoomFull), "100%");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, kZoomIn)));
  // Slider A: its track runs from x 129 to 264 at y 47; the pointer holds
  // the knob 4 pixels in, so x 195 is the value 50.
  DragIn(dialog_, 140, 52, 195, 52);
  EXPECT_EQ(TextOf(dialog_, kEditA), "50");
  // Dragging past the end clamps.
  DragIn(dialog_, 140, 138, 400, 138);
  EXPECT_EQ(TextOf(dialog_, kEditScale), "100");
  TypeInto(dialog_, kEditScale, "33");
  Settle(dialog_, 1500);  // the edit timer renders the preview
  PressButton(dialog_, kNextGlue);
  Screenshot(dialog_, "ok");
  // Enter presses the default button, OK.
  PostMessageA(GetDlgItem(dialog_, kEditA), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(Finish(120), 0);
  EXPECT_TRUE(Exists(output_));
  const std::string record = ReadText(record_);
  EXPECT_NE(record.find("0007 long 50\n"), std::string::npos) << record;
  EXPECT_NE(record.find("0010 long 33\n"), std::string::npos) << record;
  EXPECT_NE(record.find("GLUE enum GLty GL08\n"), std::string::npos) << record;  // add, then N
}

// The whole number after `key` in a recorded descriptor, or -1.
long RecordedLong(const std::string& record, const std::string& key) {
  const std::size_t at = record.find(key + " long ");
  return at == std::string::npos ? -1 : std::stol(record.substr(at + key.size() + 6));
}

TEST_F(Dialog, ResetGlueListRandomseedHexChipAndAboutDoWhatTheySay) {
  ShellOpenStub shell("test-tmp\\dialog-shell-opened.txt");
  ASSERT_TRUE(Start("commands", "--set paramA=80 --set density=7 --glue screen"))
      << "no dialog appeared";
  ASSERT_EQ(TextOf(dialog_, kEditA), "80");
  // Without a host window: over the desktop, centred and moved left by a
  // caption's height (the dialog has a system menu), a third of the free
  // height down.
  RECT work, box;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  ASSERT_TRUE(GetWindowRect(dialog_, &box));
  EXPECT_EQ(box.left, work.left + (work.right - work.left - (box.right - box.left)) / 2 -
                          GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(box.top, work.top + (work.bottom - work.top - (box.bottom - box.top)) / 3);

  // Reset: every default, paramA 43, density 29, the glue "normal" and the
  // first chip's (227, 220, 27).
  PressButton(dialog_, kReset);
  EXPECT_EQ(TextOf(dialog_, kEditA), "43");
  EXPECT_EQ(TextOf(dialog_, kEditDensity), "29");
  EXPECT_EQ(TextOf(dialog_, kGlueList), "normal");
  Settle(dialog_, 200);
  const std::uint32_t chip = CentreColour(GetDlgItem(dialog_, kChipA1));
  EXPECT_EQ(chip, 0xE3DC1Bu) << std::hex << chip;
  Screenshot(dialog_, "reset");

  // The list's fifth entry is glue 5.
  SendDlgItemMessageA(dialog_, kGlueList, CB_SETCURSEL, 4, 0);
  PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(kGlueList, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog_, kGlueList)));
  Settle(dialog_, 100);

  // Randomseed changes the seed alone, Hex the four colours alone.
  PressButton(dialog_, kRandomseed);
  PressButton(dialog_, kHex);
  Settle(dialog_, 200);
  EXPECT_NE(CentreColour(GetDlgItem(dialog_, kChipA1)), chip);
  EXPECT_EQ(TextOf(dialog_, kEditA), "43");
  Screenshot(dialog_, "hex");

  // A chip takes the colour chosen in the colour chooser.
  PressButton(dialog_, kChipA1);
  HWND chooser = FindRunDialog("Color", 20);
  ASSERT_NE(chooser, nullptr) << "no colour chooser";
  SetDlgItemTextA(chooser, kChooserRed, "10");
  SetDlgItemTextA(chooser, kChooserGreen, "200");
  SetDlgItemTextA(chooser, kChooserBlue, "30");
  Screenshot(chooser, "colour-chooser");
  PressButton(chooser, IDOK);
  ASSERT_TRUE(WaitUntilClosed(chooser, 20)) << "the colour chooser stayed open";
  Settle(dialog_, 300);
  EXPECT_EQ(CentreColour(GetDlgItem(dialog_, kChipA1)), 0x0AC81Eu);

  // The logo opens the About box, owned by no window; its button opens the
  // website in the browser and closes it.
  ClickIn(dialog_, 17 + 16, 528 + 16);
  HWND about = FindRunDialog("About", 20);
  ASSERT_NE(about, nullptr) << "no About box";
  EXPECT_EQ(GetWindow(about, GW_OWNER), nullptr);
  Screenshot(about, "about");
  PressButton(about, kWebsiteButton);
  EXPECT_TRUE(WaitUntilClosed(about, 20)) << "the About box stayed open";
  const std::string opened = shell.WaitFor("https://", 20);
  EXPECT_NE(opened.find("https://"), std::string::npos) << opened;

  // OK beside an open About box ends the run, and the box goes with the dialog.
  ClickIn(dialog_, 17 + 16, 528 + 16);
  about = FindRunDialog("About", 20);
  ASSERT_NE(about, nullptr) << "no second About box";
  PressButton(dialog_, kOk);
  EXPECT_TRUE(WaitUntilClosed(about, 20)) << "the About box outlived the dialog";
  EXPECT_EQ(Finish(120), 0);
  const std::string record = ReadText(record_);
  EXPECT_EQ(RecordedLong(record, "0007"), 43) << record;
  EXPECT_EQ(RecordedLong(record, "0008"), 29) << record;
  EXPECT_NE(record.find("GLUE enum GLty GL05\n"), std::string::npos) << record;
  // The default seed is 67676767; Randomseed draws from 0 to 2047.
  EXPECT_GE(RecordedLong(record, "0019"), 0) << record;
  EXPECT_LE(RecordedLong(record, "0019"), 2047) << record;
  EXPECT_NE(record.find("0001 long 10\n0002 long 200\n0003 long 30\n"), std::string::npos)
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

TEST_F(Dialog, TabFollowsTheLayoutTheInfoBoxStaysBesideAndAltCCancels) {
  ASSERT_TRUE(Start("keys")) << "no dialog appeared";
  // One round of Tab through the dialog, keeping the edit boxes it passes.
  std::vector<int> edits;
  const int first = FocusedControl(dialog_);
  for (int step = 0; step < 60; ++step) {
    HWND focus = GetDlgItem(dialog_, FocusedControl(dialog_));
    PostMessageA(focus ? focus : dialog_, WM_KEYDOWN, VK_TAB, 0);
    Settle(dialog_, 20);
    const int now = FocusedControl(dialog_);
    char kind[16] = {};
    GetClassNameA(GetDlgItem(dialog_, now), kind, sizeof kind);
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

  // The info box: any of its buttons closes it.
  PressButton(dialog_, kInfo);
  HWND info = FindRunDialog("Stellane tips", 20);
  ASSERT_NE(info, nullptr) << "no info box";
  PressButton(info, IDOK);
  EXPECT_TRUE(WaitUntilClosed(info, 20)) << "the info box stayed open";
  // Owned by no window, it lets the main dialog work on beside it; a second
  // "i" opens no other.
  PressButton(dialog_, kInfo);
  info = FindRunDialog("Stellane tips", 20);
  ASSERT_NE(info, nullptr) << "no second info box";
  EXPECT_EQ(GetWindow(info, GW_OWNER), nullptr);
  Screenshot(info, "info-box");
  const std::string glue = TextOf(dialog_, kGlueList);
  PressButton(dialog_, kNextGlue);
  EXPECT_NE(TextOf(dialog_, kGlueList), glue);
  PressButton(dialog_, kInfo);
  EXPECT_EQ(FindRunDialog("Stellane tips", 1), info);
  // The mnemonic of "&Cancel" ends the run, and the info box goes with the
  // dialog.
  PostMessageA(GetDlgItem(dialog_, kEditA), WM_SYSCHAR, 'c', 1 << 29);
  EXPECT_TRUE(WaitUntilClosed(info, 20)) << "the info box outlived the dialog";
  EXPECT_EQ(Finish(60), kExitCancelled);
}

}  // namespace
