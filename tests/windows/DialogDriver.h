// Drives stellane.exe's main dialog from outside, the way a user would:
// starts the program, finds its dialog, sends mouse and keyboard input to its
// controls and takes screenshots.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace wintest {

struct DialogRun {
  PROCESS_INFORMATION process{};
  HWND dialog = nullptr;
};

// Starts `stellane.exe <arguments>` in the current folder and waits up to
// `seconds` for its visible "Stellane" dialog; dialog stays null on failure.
DialogRun StartDialogRun(const std::string& arguments, int seconds);
// `stellane.exe render --dialog --quiet <extra> --record <record> <input>
// <output>` after removing an earlier output and record, then a moment for
// the dialog to settle; dialog stays null when none appeared.
DialogRun StartRecordedDialogRun(const std::string& input, const std::string& output,
                                 const std::string& record, const std::string& extra);
// The program's visible dialog of that title (a chooser it opened), waiting
// up to `seconds`; null when none appears.
HWND FindRunDialog(const DialogRun& run, const char* title, int seconds);
// Waits for the program to end and returns its exit code (-1 on time-out,
// after which the program is terminated).
int FinishDialogRun(DialogRun& run, int seconds);

// A left-button press, move and release in client pixels of the dialog.
void DragIn(HWND dialog, int fromX, int fromY, int toX, int toY);
void ClickIn(HWND dialog, int x, int y, bool rightButton = false, bool ctrlHeld = false);
// A button press the way a click on it reports it.
void PressButton(HWND dialog, int control);
// Replaces an edit box's text as typing would (the box reports the change).
void TypeInto(HWND dialog, int control, const char* text);
std::string TextOf(HWND dialog, int control);
// Lets the dialog's thread work through what was sent to it.
void Settle(HWND dialog, int milliseconds);

// Saves the dialog's window as a 24-bit PNG; false when nothing was written.
bool SaveScreenshot(HWND window, const std::string& path);
// Writes 8-bit RGB rows (top first) as a PNG file.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

// ---- File choosers and windows of the export scenarios.

// Types `path` as the file name of an open or save chooser and presses its
// OK button; false when the chooser is still open 20 seconds later.
bool AnswerFileChooser(HWND chooser, const std::string& path);
// The file name the chooser shows.
std::string ChooserFileName(HWND chooser);
// Selects the first entry of the chooser's file list, as Home in the list
// does; false when the chooser has no list.
bool SelectFirstListedFile(HWND chooser);
// The window below `parent` (at any depth) with that control number, or null.
HWND FindControl(HWND parent, int control);
// The screen colour at the centre of `window`, as 0xRRGGBB.
std::uint32_t CentreColour(HWND window);
// Waits up to `seconds` for `window` to close; false when it is still there.
bool WaitUntilClosed(HWND window, int seconds);

// While it lives, the shell's "open" of web addresses and of .html files
// runs no browser: it appends the opened address or path to `log`.
class ShellOpenStub {
 public:
  explicit ShellOpenStub(const std::string& log);
  ~ShellOpenStub();
  ShellOpenStub(const ShellOpenStub&) = delete;
  ShellOpenStub& operator=(const ShellOpenStub&) = delete;
  // What was opened so far, waiting up to `seconds` for `expected` to appear.
  std::string WaitFor(const std::string& expected, int seconds) const;

 private:
  std::string log_;
  std::string savedHtmlClass_, savedHttpsCommand_;
};

// Small file helpers of the scenarios.
std::string FullPath(const std::string& path);
std::string ReadText(const std::string& path);  // empty when missing
bool Exists(const std::string& path);

// Control numbers of the main dialog and of its windows.
constexpr int kCancel = 2, kOk = 3, kChipA1 = 7, kNextGlue = 12, kHex = 14, kSave = 26,
              kZoomIn = 32, kZoomOut = 33, kZoomFull = 34, kLoad = 35, kDice = 72, kGlueList = 73,
              kUndo = 74, kRandomseed = 75, kEditDensity = 85, kEditA = 86, kEditScale = 90,
              kEditDepth = 99, kReset = 115, kInfo = 116, kPsd = 117, kPresetPane = 123,
              kPresetPage = 150;
constexpr int kExitCancelled = 130;  // stellane.exe's exit code after Cancel

// One scenario: stellane.exe on a picture of its own, with TMP and TEMP an
// empty folder of the scenario's (where the dialog keeps its dot, undo,
// directory and cached settings files), and screenshots in test-artifacts/.
class DialogScenario : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Writes `input_`: a w x h picture, red rising along x and green along y.
  void WriteInput(const std::string& name, int width, int height);
  // Starts `render --dialog` on `input_`, output and record named after the
  // scenario, in an empty temporary folder of its own; false when no dialog
  // appeared.
  bool Start(const std::string& name, const std::string& extra = "");
  void UseEmptyTempFolder(const std::string& name);  // sets temp_
  void Screenshot(HWND window, const std::string& name);
  // OK ends the run with the image written; returns the recorded parameters.
  std::string PressOkForRecord();
  // Escape is Cancel: the run ends cancelled and writes no image.
  void CancelWithEscape();

  DialogRun run_;
  std::string input_, output_, record_, temp_;

 private:
  char savedTmp_[MAX_PATH] = {}, savedTemp_[MAX_PATH] = {};
};

}  // namespace wintest
