// The main dialog under Wine, used the way a user would: stellane.exe renders
// with --dialog, this program works the real window's controls, keyboard,
// timers and choosers step by step, checks what each step shows, and at the
// end what the run wrote. (What the dialog computes is checked natively.)
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "stellane/ImageFiles.h"

namespace {

// Control numbers of the main dialog and of its windows.
constexpr int kChipA1 = 7, kNextGlue = 12, kSave = 26, kZoomIn = 32, kZoomFull = 34, kLoad = 35,
              kGlueList = 73, kEditDensity = 85, kEditA = 86, kEditScale = 90, kReset = 115,
              kInfo = 116, kPsd = 117, kPresetPane = 123;
constexpr int kChooserRed = 706, kChooserGreen = 707, kChooserBlue = 708;  // colour chooser
constexpr int kStageText = 101, kPercentText = 102;  // of the PSD progress window
constexpr std::uint32_t kDefaultChipA1 = 0xE3DC1B;   // (227, 220, 27)

// What a searched window must match; a field left null (0, -1) matches any
// window: a visible one of that process, its title, class, control number.
struct Search {
  DWORD processId;
  const char *title, *className;
  int control;
  HWND found = nullptr;
};

BOOL CALLBACK Matches(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char title[64] = {}, className[64] = {};
  GetWindowTextA(window, title, sizeof title);
  GetClassNameA(window, className, sizeof className);
  const bool found = (!s->processId || (owner == s->processId && IsWindowVisible(window))) &&
                     (!s->title || std::string(title) == s->title) &&
                     (!s->className || std::string(className) == s->className) &&
                     (s->control < 0 || GetDlgCtrlID(window) == s->control);
  if (found) s->found = window;
  return !found;
}

// The file name box of an explorer-style chooser: a combo box (cmb13) on
// current systems, an edit box (edt1) on older ones.
HWND ChooserNameBox(HWND chooser) {
  HWND box = GetDlgItem(chooser, 0x47C);
  return box ? box : GetDlgItem(chooser, 0x480);
}

// Lets the window's thread work through what was sent to it: a sent message
// returns once the thread has handled everything posted before it.
void Settle(HWND window, int milliseconds) {
  Sleep(DWORD(milliseconds));
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

// A left-button press, move and release in client pixels of the dialog.
void DragIn(HWND dialog, int fromX, int fromY, int toX, int toY) {
  PostMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(fromX, fromY));
  PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, fromY));
  Settle(dialog, 50);
  for (int i = 1; i <= 5; ++i)  // five moves on the way
    PostMessageA(dialog, WM_MOUSEMOVE, MK_LBUTTON,
                 MAKELPARAM(fromX + (toX - fromX) * i / 5, fromY + (toY - fromY) * i / 5));
  PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(toX, toY));
  Settle(dialog, 50);
}

void ClickIn(HWND dialog, int x, int y, bool rightButton = false) {
  PostMessageA(dialog, rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN,
               rightButton ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(dialog, rightButton ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Settle(dialog, 200);  // the click's command is posted on release
}

// A button press the way a click on it reports it.
void PressButton(HWND window, int control) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, control)));
  Settle(window, 50);
}

std::string TextOf(HWND window, int control) {
  char text[256] = {};
  GetDlgItemTextA(window, control, text, sizeof text);
  return text;
}

// Waits up to `seconds` for `window` to close; false when it is still there.
bool WaitUntilClosed(HWND window, int seconds) {
  for (int waited = 0; waited < seconds * 10; ++waited) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    Sleep(100);
  }
  return false;
}

// Types `path` as the file name of an open or save chooser and presses its
// OK button; false when the chooser is still open 20 seconds later.
bool AnswerFileChooser(HWND chooser, const std::string& path) {
  SendMessageA(ChooserNameBox(chooser), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PressButton(chooser, IDOK);
  return WaitUntilClosed(chooser, 20);
}

// The file name the chooser shows (sent: GetWindowText does not ask another
// program's controls).
std::string ChooserFileName(HWND chooser) {
  char text[MAX_PATH] = {};
  SendMessageA(ChooserNameBox(chooser), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// Selects the first entry of the chooser's file list, as Home in the list
// does; false when the chooser has no list.
bool SelectFirstListedFile(HWND chooser) {
  Search search{0, nullptr, "SysListView32", -1};
  EnumChildWindows(chooser, Matches, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return false;
  PostMessageA(search.found, WM_KEYDOWN, VK_HOME, 0);
  PostMessageA(search.found, WM_KEYUP, VK_HOME, 0);
  Settle(chooser, 300);
  return true;
}

// The screen colour at the centre of `window`, as 0xRRGGBB.
std::uint32_t CentreColour(HWND window) {
  RECT r;
  if (!GetWindowRect(window, &r)) return 0;
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ReleaseDC(nullptr, screen);
  return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

std::string FullPath(const std::string& path) { return std::filesystem::absolute(path).string(); }

// Empty when missing.
std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// One scenario: stellane.exe on a picture of its own, with TMP and TEMP an
// empty folder of the scenario's (where the dialog keeps its dot, undo,
// directory and cached settings files).
class Dialog : public testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("test-tmp", nullptr);
    GetEnvironmentVariableA("TMP", savedTmp_, sizeof savedTmp_);
    GetEnvironmentVariableA("TEMP", savedTemp_, sizeof savedTemp_);
    WriteInput("input", 90, 62);  // odd sizes catch swapped sides
  }
  void TearDown() override {
    if (process_.hProcess) Finish(0);  // a scenario that stopped early
    SetEnvironmentVariableA("TMP", savedTmp_[0] ? savedTmp_ : nullptr);
    SetEnvironmentVariableA("TEMP", savedTemp_[0] ? savedTemp_ : nullptr);
  }
  // Writes `input_`: a w x h picture, red rising along x and green along y.
  void WriteInput(const std::string& name, int width, int height) {
    input_ = "test-tmp\\scenario-" + name + ".png";
    testhost::Image image = testhost::Image::Make(width, height, 3, 8);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c)
          image.Set(x, y, c, std::uint8_t(c == 0 ? x * 2 : c == 1 ? y * 3 : 90));
    ASSERT_NO_THROW(cli::WritePng(image, input_));
  }
  // Starts `stellane.exe render --dialog --quiet <extra> --record` on
  // `input_`, output and record named after the scenario, in an empty
  // temporary folder of its own, and waits for the dialog to settle; false
  // when no dialog appeared.
  bool Start(const std::string& name, const std::string& extra = "") {
    // An empty temporary folder, for this program and the programs it starts.
    temp_ = FullPath("test-tmp\\temp-" + name) + "\\";
    std::filesystem::remove_all(temp_);
    std::filesystem::create_directories(temp_);
    SetEnvironmentVariableA("TMP", temp_.c_str());
    SetEnvironmentVariableA("TEMP", temp_.c_str());

    output_ = "test-tmp\\scenario-" + name + ".png";
    record_ = "test-tmp\\scenario-" + name + ".txt";
    DeleteFileA(output_.c_str());
    DeleteFileA(record_.c_str());
    std::string line = "stellane.exe render --dialog --quiet " + extra + " --record " + record_ +
                       " " + input_ + " " + output_;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA("stellane.exe", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
      return false;
    dialog_ = FindRunDialog("Stellane", 60);
    if (dialog_) Settle(dialog_, 300);
    return dialog_ != nullptr;
  }
  // The program's visible dialog of that title (the main one is "Stellane"),
  // waiting up to `seconds`; null when none appears.
  HWND FindRunDialog(const char* title, int seconds) {
    for (int waited = 0; waited < seconds * 10; ++waited) {
      Search search{process_.dwProcessId, title, "#32770", -1};
      EnumWindows(Matches, reinterpret_cast<LPARAM>(&search));
      if (search.found) return search.found;
      if (WaitForSingleObject(process_.hProcess, 100) == WAIT_OBJECT_0) break;
    }
    return nullptr;
  }
  // Waits for the program to end and returns its exit code (-1 on time-out,
  // after which the program is terminated).
  int Finish(int seconds) {
    if (!process_.hProcess) return -1;
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process_.hProcess, DWORD(seconds) * 1000) == WAIT_OBJECT_0)
      GetExitCodeProcess(process_.hProcess, &code);
    else
      TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
    return int(code);
  }
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
    Search pane{0, nullptr, nullptr, kPresetPane};  // at any depth below the browser
    EnumChildWindows(browser, Matches, reinterpret_cast<LPARAM>(&pane));
    ASSERT_NE(pane.found, nullptr) << "the browser has no thumbnail pane";
    Settle(browser, 300);
    const std::uint32_t ramp = CentreColour(pane.found);
    EXPECT_EQ(ramp >> 16, ramp & 0xFF) << std::hex << ramp;
    ASSERT_TRUE(SelectFirstListedFile(browser)) << "the browser has no file list";
    Settle(browser, 500);
    EXPECT_NE(CentreColour(pane.found), ramp) << "the pane still shows the grey ramp";
    EXPECT_NE(ChooserFileName(browser).find(first), std::string::npos);
    ASSERT_TRUE(AnswerFileChooser(browser, path.empty() ? ChooserFileName(browser) : path));
    Settle(dialog_, 500);
  }

  HWND OpenBox(const char* title, std::function<void()> open) {
    open();
    HWND box = FindRunDialog(title, 20);
    EXPECT_NE(box, nullptr) << "no " << title;
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << title << " is owned by a window";
    return box;
  }

  PROCESS_INFORMATION process_{};
  HWND dialog_ = nullptr;
  std::string input_, output_, record_, temp_;

 private:
  char savedTmp_[MAX_PATH] = {}, savedTemp_[MAX_PATH] = {};
};

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
      // The picture fits the preview: nothing to zoom into.
      {"zoom", [&] { EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, kZoomIn))); }},
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
      {"Save, then Reset",
       [&] {
         PressButton(dialog_, kSave);
         HWND chooser = FindRunDialog("Save a settings file", 20);
         ASSERT_NE(chooser, nullptr) << "no settings save chooser";
         ASSERT_TRUE(AnswerFileChooser(chooser, preset));
         PressButton(dialog_, kReset);
         Settle(dialog_, 200);
         EXPECT_EQ(CentreColour(GetDlgItem(dialog_, kChipA1)), kDefaultChipA1);
         emptyDot = DotLook(dialog_);
       },
       {{kEditA, "43"}, {kEditDensity, "29"}, {kGlueList, "normal"}}},
      // The browser opens in the folder of the last save.
      {"load the saved file",
       [&] { LoadThroughTheBrowser(preset); },
       {{kEditA, "75"}, {kEditDensity, "20"}}},
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
      // Slider A's track runs from x 129 to 264 at y 47; the pointer holds
      // the knob 4 pixels in, so x 195 is the value 50.
      {"drag slider A", [&] { DragIn(dialog_, 140, 52, 195, 52); }, {{kEditA, "50"}}},
      {"click an empty memory dot: it stores the settings",
       [&] {
         ClickIn(dialog_, kDotLeft + 6, kDotTop + 6);
         EXPECT_TRUE(Exists(dotFile));
         EXPECT_NE(DotLook(dialog_), emptyDot);
       }},
      {"right-click the filled dot: it empties, the settings stay",
       [&] {
         ClickIn(dialog_, kDotLeft + 6, kDotTop + 6, true);
         EXPECT_EQ(DotLook(dialog_), emptyDot);
       },
       {{kEditA, "50"}}},
      {"type into a box",
       [&] {
         SetDlgItemTextA(dialog_, kEditScale, "33");  // the box reports the change
         Settle(dialog_, 1500);                       // the edit timer renders the preview
       }},
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
  EXPECT_EQ(RecordedLong(record, "0008"), 20) << record;
  EXPECT_EQ(RecordedLong(record, "0010"), 33) << record;
  EXPECT_NE(record.find("GLUE enum GLty GL07\n"), std::string::npos) << record;
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
  EXPECT_EQ(Finish(60), 130);  // stellane.exe's exit status after Cancel
  EXPECT_FALSE(Exists(output_)) << "a cancelled run wrote its image";
}

}  // namespace
