// Drives stellane.exe's main dialog from outside, the way a user would:
// starts the program, finds its windows, sends mouse and keyboard input to
// their controls and answers the file choosers.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

namespace wintest {

// Control numbers of the main dialog and of its windows.
constexpr int kChipA1 = 7, kNextGlue = 12, kHex = 14, kSave = 26, kZoomIn = 32, kZoomFull = 34,
              kLoad = 35, kDice = 72, kGlueList = 73, kRandomseed = 75, kEditDensity = 85,
              kEditA = 86, kEditScale = 90, kEditDepth = 99, kReset = 115, kInfo = 116, kPsd = 117,
              kPresetPane = 123;
constexpr int kExitCancelled = 130;  // stellane.exe's exit code after Cancel

// A left-button press, move and release in client pixels of the dialog.
void DragIn(HWND dialog, int fromX, int fromY, int toX, int toY);
void ClickIn(HWND dialog, int x, int y, bool rightButton = false);
// A button press the way a click on it reports it.
void PressButton(HWND window, int control);
// Replaces an edit box's text as typing would (the box reports the change).
void TypeInto(HWND dialog, int control, const char* text);
std::string TextOf(HWND window, int control);
// Lets the window's thread work through what was sent to it.
void Settle(HWND window, int milliseconds);
// The window below `parent` (at any depth) with that control number, or null.
HWND FindControl(HWND parent, int control);
// The screen colour at the centre of `window`, as 0xRRGGBB.
std::uint32_t CentreColour(HWND window);
// Waits up to `seconds` for `window` to close; false when it is still there.
bool WaitUntilClosed(HWND window, int seconds);

// Types `path` as the file name of an open or save chooser and presses its
// OK button; false when the chooser is still open 20 seconds later.
bool AnswerFileChooser(HWND chooser, const std::string& path);
// The file name the chooser shows.
std::string ChooserFileName(HWND chooser);
// Selects the first entry of the chooser's file list, as Home in the list
// does; false when the chooser has no list.
bool SelectFirstListedFile(HWND chooser);

std::string FullPath(const std::string& path);
std::string ReadText(const std::string& path);  // empty when missing
bool Exists(const std::string& path);

// One scenario: stellane.exe on a picture of its own, with TMP and TEMP an
// empty folder of the scenario's (where the dialog keeps its dot, undo,
// directory and cached settings files).
class DialogScenario : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Writes `input_`: a w x h picture, red rising along x and green along y.
  void WriteInput(const std::string& name, int width, int height);
  // Starts `stellane.exe render --dialog --quiet <extra> --record` on
  // `input_`, output and record named after the scenario, in an empty
  // temporary folder of its own, and waits for the dialog to settle; false
  // when no dialog appeared.
  bool Start(const std::string& name, const std::string& extra = "");
  // The program's visible dialog of that title (the main one is "Stellane"),
  // waiting up to `seconds`; null when none appears.
  HWND FindRunDialog(const char* title, int seconds);
  // Answers the next chooser of that title with `path`.
  void Choose(const char* title, const std::string& path);
  // Waits for the program to end and returns its exit code (-1 on time-out,
  // after which the program is terminated).
  int Finish(int seconds);

  PROCESS_INFORMATION process_{};
  HWND dialog_ = nullptr;
  std::string input_, output_, record_, temp_;

 private:
  char savedTmp_[MAX_PATH] = {}, savedTemp_[MAX_PATH] = {};
};

}  // namespace wintest
