// The main dialog's memory scenarios under Wine, used the way a user would:
// memory dots and their thumbnail with its pages, Undo, Save, a colour chip
// answered in the colour chooser, the glue step and the info box.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "testhost/TestHost.h"

namespace {

using namespace wintest;

constexpr int kDefaultA = 43;  // paramA of a fresh parameter record
// The colour chooser's red, green and blue boxes.
constexpr int kChooserRed = 706, kChooserGreen = 707, kChooserBlue = 708;

// Memory dot i is a 12 x 12 area; its 8 x 8 picture sits 2 pixels down.
struct DotPlace {
  int top, left;
};
constexpr DotPlace kDots[] = {{419, 401}, {431, 405}, {443, 405}, {456, 401}, {469, 397}};

// The big-endian 32-bit items at the start of a settings file.
std::vector<std::int32_t> ReadItems(const std::string& path, int count) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::int32_t> items;
  unsigned char b[4];
  while (int(items.size()) < count && in.read(reinterpret_cast<char*>(b), 4))
    items.push_back(std::int32_t(std::uint32_t(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3]));
  return items;
}

// What the screen shows of a dot's picture.
std::vector<COLORREF> DotLook(HWND dialog, int index) {
  Settle(dialog, 100);
  POINT at = {kDots[index].left, kDots[index].top + 2};
  ClientToScreen(dialog, &at);
  HDC screen = GetDC(nullptr);
  std::vector<COLORREF> look;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) look.push_back(GetPixel(screen, at.x + x, at.y + y));
  ReleaseDC(nullptr, screen);
  return look;
}

void ClickDot(HWND dialog, int index, bool rightButton = false, bool ctrlHeld = false) {
  ClickIn(dialog, kDots[index].left + 6, kDots[index].top + 6, rightButton, ctrlHeld);
  Settle(dialog, 200);  // the click command is posted on release
}

// The dot thumbnail (96 x 96 at top 430, left 418); its command is posted on
// release too.
void ClickThumbnail(HWND dialog, bool rightButton = false, bool ctrlHeld = false) {
  ClickIn(dialog, 418 + 48, 430 + 48, rightButton, ctrlHeld);
  Settle(dialog, 200);
}

// Answers the next chooser of that title with `path`.
void Choose(const DialogRun& run, const char* title, const std::string& path) {
  HWND chooser = FindRunDialog(run, title, 20);
  ASSERT_NE(chooser, nullptr) << "no chooser \"" << title << "\"";
  ASSERT_TRUE(AnswerFileChooser(chooser, path)) << "the chooser stayed open: " << title;
}

using DialogMemory = DialogScenario;

std::string DotFile(const std::string& temp, int index) {
  return temp + "Stellane memory dot " + std::to_string(index) + ".q9r";
}

TEST_F(DialogMemory, DotsStoreRecallAndClearSettings) {
  ASSERT_TRUE(Start("dots")) << "no dialog appeared";
  // The opening keeps the incoming settings in the first unpinned dot.
  EXPECT_TRUE(Exists(DotFile(temp_, 0)));
  EXPECT_FALSE(Exists(DotFile(temp_, 3)));
  const std::vector<COLORREF> empty = DotLook(run_.dialog, 3);
  const std::vector<COLORREF> scratchCurrent = DotLook(run_.dialog, 0);
  EXPECT_NE(scratchCurrent, empty);

  // A command that changes the settings leaves the scratch dot filled but
  // no longer current.
  DragIn(run_.dialog, 140, 52, 195, 52);
  ASSERT_EQ(TextOf(run_.dialog, kEditA), "50");
  PressButton(run_.dialog, kNextGlue);
  const std::vector<COLORREF> scratchFilled = DotLook(run_.dialog, 0);
  EXPECT_NE(scratchFilled, scratchCurrent);
  EXPECT_NE(scratchFilled, empty);

  // A click on an empty dot stores the settings there, pinned and current.
  ClickDot(run_.dialog, 3);
  ASSERT_TRUE(Exists(DotFile(temp_, 3)));
  EXPECT_EQ(ReadItems(DotFile(temp_, 3), 15).back(), 50);  // item 15: paramA
  const std::vector<COLORREF> stored = DotLook(run_.dialog, 3);
  EXPECT_NE(stored, empty);
  EXPECT_NE(stored, scratchFilled);

  // A right-click on an empty dot stores too, and takes the current mark.
  DragIn(run_.dialog, 140, 52, 150, 52);
  const std::string other = TextOf(run_.dialog, kEditA);
  ASSERT_NE(other, "50");
  ClickDot(run_.dialog, 4, true);
  ASSERT_TRUE(Exists(DotFile(temp_, 4)));
  EXPECT_EQ(std::to_string(ReadItems(DotFile(temp_, 4), 15).back()), other);
  EXPECT_NE(DotLook(run_.dialog, 3), stored);

  // A plain click on a filled dot brings its settings back into the boxes.
  ClickDot(run_.dialog, 3);
  EXPECT_EQ(TextOf(run_.dialog, kEditA), "50");
  EXPECT_EQ(DotLook(run_.dialog, 3), stored);
  Screenshot(run_.dialog, "memory-dots");

  // A right-click on a filled dot empties it; its settings stay in the boxes.
  ClickDot(run_.dialog, 4, true);
  EXPECT_EQ(DotLook(run_.dialog, 4), empty);
  EXPECT_EQ(TextOf(run_.dialog, kEditA), "50");

  const std::string record = PressOkForRecord();
  EXPECT_NE(record.find("0007 long 50\n"), std::string::npos) << record;
  // The run's end writes the pinned flags: dot 3 pinned, dot 4 emptied.
  const std::vector<std::int32_t> directory = ReadItems(temp_ + "Stellane directory 2", 26);
  ASSERT_EQ(directory.size(), 26u);
  EXPECT_EQ(directory[0], 50);
  EXPECT_EQ(directory[1 + 3], 1);
  EXPECT_EQ(directory[1 + 4], 0);
  EXPECT_EQ(directory[1 + 0], 0);  // the scratch dot is never pinned
}

TEST_F(DialogMemory, UndoGoesBackAndForthBetweenTheLastTwoStates) {
  ASSERT_TRUE(Start("undo")) << "no dialog appeared";
  ASSERT_EQ(TextOf(run_.dialog, kEditA), std::to_string(kDefaultA));
  // Typing: the edit timer takes the new value one second later.
  TypeInto(run_.dialog, kEditA, "80");
  Settle(run_.dialog, 1500);
  PressButton(run_.dialog, kUndo);
  EXPECT_EQ(TextOf(run_.dialog, kEditA), std::to_string(kDefaultA));
  PressButton(run_.dialog, kUndo);
  EXPECT_EQ(TextOf(run_.dialog, kEditA), "80");
  PressButton(run_.dialog, kUndo);
  EXPECT_EQ(TextOf(run_.dialog, kEditA), std::to_string(kDefaultA));
  const std::string record = PressOkForRecord();
  EXPECT_NE(record.find("0007 long " + std::to_string(kDefaultA) + "\n"), std::string::npos)
      << record;
}

TEST_F(DialogMemory, SaveWritesTheShownSettingsToTheChosenFile) {
  const std::string saved = FullPath("test-tmp\\memory-saved.q9r");
  DeleteFileA(saved.c_str());
  ASSERT_TRUE(Start("save")) << "no dialog appeared";
  DragIn(run_.dialog, 140, 52, 195, 52);    // A 50
  DragIn(run_.dialog, 133, 388, 133, 388);  // density 0: the track's first pixels
  ASSERT_EQ(TextOf(run_.dialog, kEditDensity), "0");

  PressButton(run_.dialog, kSave);
  HWND chooser = FindRunDialog(run_, "Save a settings file", 20);
  ASSERT_NE(chooser, nullptr) << "no save chooser";
  EXPECT_NE(ChooserFileName(chooser).find("Stellane settings"), std::string::npos)
      << ChooserFileName(chooser);
  Screenshot(chooser, "save-chooser");
  ASSERT_TRUE(AnswerFileChooser(chooser, saved)) << "the save chooser stayed open";
  Settle(run_.dialog, 200);

  // Version 50, then colours; item 15 is paramA, item 16 density.
  const std::vector<std::int32_t> items = ReadItems(saved, 16);
  ASSERT_EQ(items.size(), 16u) << "no settings file written";
  EXPECT_EQ(items[0], 50);
  EXPECT_EQ(items[14], 50);
  EXPECT_EQ(items[15], 0);

  // Cancel keeps the saved file.
  CancelWithEscape();
  EXPECT_TRUE(Exists(saved));
}

TEST_F(DialogMemory, GlueStepWrapsAndAChipTakesTheColourChosenInTheColourChooser) {
  ASSERT_TRUE(Start("glue-colour", "--glue 62")) << "no dialog appeared";
  EXPECT_EQ(TextOf(run_.dialog, kGlueList), "screendim");
  PressButton(run_.dialog, kNextGlue);
  EXPECT_EQ(TextOf(run_.dialog, kGlueList), "normal");
  PressButton(run_.dialog, kNextGlue);
  EXPECT_EQ(TextOf(run_.dialog, kGlueList), "procedural +");

  PressButton(run_.dialog, kChipA1);
  HWND chooser = FindRunDialog(run_, "Color", 20);
  ASSERT_NE(chooser, nullptr) << "no colour chooser";
  SetDlgItemTextA(chooser, kChooserRed, "10");
  SetDlgItemTextA(chooser, kChooserGreen, "200");
  SetDlgItemTextA(chooser, kChooserBlue, "30");
  Screenshot(chooser, "colour-chooser");
  PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
  ASSERT_TRUE(WaitUntilClosed(chooser, 20)) << "the colour chooser stayed open";
  Settle(run_.dialog, 300);
  EXPECT_EQ(CentreColour(GetDlgItem(run_.dialog, kChipA1)), 0x0AC81Eu);
  Screenshot(run_.dialog, "colour");

  const std::string record = PressOkForRecord();
  EXPECT_NE(record.find("0001 long 10\n0002 long 200\n0003 long 30\n"), std::string::npos)
      << record;
  // The other chips keep their colours: A2 is (98, 213, 143) by default.
  EXPECT_NE(record.find("0004 long 98\n0005 long 213\n0006 long 143\n"), std::string::npos)
      << record;
  EXPECT_NE(record.find("GLUE enum GLty GL02\n"), std::string::npos) << record;
}

TEST_F(DialogMemory, ThumbnailRecallsWritesTheDotPageAndRefreshesAFolderWithItsPresetsPage) {
  ShellOpenStub shell("test-tmp\\memory-shell-opened.txt");
  // A folder holding one settings file of version 50 and nothing else: its
  // name holds "q5q" (the refresh takes it) and ends in ".q9r" (the presets
  // page lists it).
  const std::string folder = FullPath("test-tmp\\memory-presets");
  const std::string preset = folder + "\\b.q5q.q9r";
  const std::string presetsPage = folder + "\\presets.html";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::ofstream(preset, std::ios::binary) << std::string("\0\0\0\x32", 4);
  DeleteFileA(presetsPage.c_str());
  DeleteFileA((folder + "\\web_images\\b.q5q.jpg").c_str());
  ASSERT_TRUE(Start("thumbnail")) << "no dialog appeared";
  DeleteFileA((temp_ + "web_images\\dot 3.jpg").c_str());

  // Dot 3 keeps the settings and shows its thumbnail; after "N" a click on
  // the thumbnail brings them back.
  ClickDot(run_.dialog, 3);
  PressButton(run_.dialog, kNextGlue);
  ASSERT_EQ(TextOf(run_.dialog, kGlueList), "procedural +");
  ClickThumbnail(run_.dialog);
  EXPECT_EQ(TextOf(run_.dialog, kGlueList), "normal");
  Screenshot(run_.dialog, "thumbnail-recall");

  // The right button writes the page of the memory dots and opens it.
  ClickThumbnail(run_.dialog, true);
  ASSERT_NO_FATAL_FAILURE(Choose(run_, "Save an HTML page", temp_ + "dots.html"));
  std::string opened = shell.WaitFor("dots.html", 30);
  EXPECT_NE(opened.find("dots.html"), std::string::npos) << opened;
  EXPECT_TRUE(Exists(temp_ + "web_images\\dot 3.jpg"));

  // With Ctrl, the chosen folder's files get the thumbnail of their own
  // settings, and the dialog's settings come back.
  PressButton(run_.dialog, kNextGlue);
  ClickThumbnail(run_.dialog, false, true);
  ASSERT_NO_FATAL_FAILURE(Choose(run_, "Choose any file in the source folder", preset));
  Settle(run_.dialog, 500);
  EXPECT_NE(ReadText(preset).find("\xFF\xD8\xFF"), std::string::npos)
      << "no JPEG thumbnail in the refreshed file";
  EXPECT_EQ(TextOf(run_.dialog, kGlueList), "procedural +");

  // "^" writes the page of that folder's presets and opens it.
  PressButton(run_.dialog, kPresetPage);
  ASSERT_NO_FATAL_FAILURE(Choose(run_, "Choose any file in the source folder", preset));
  ASSERT_NO_FATAL_FAILURE(Choose(run_, "Save an HTML page", presetsPage));
  opened = shell.WaitFor("presets.html", 30);
  EXPECT_NE(opened.find("presets.html"), std::string::npos) << opened;
  EXPECT_TRUE(Exists(folder + "\\web_images\\b.q5q.jpg"));
  EXPECT_NE(ReadText(presetsPage).find("b.q5q"), std::string::npos);

  // Ctrl on an empty dot stores the settings as well (unpinned).
  ClickDot(run_.dialog, 4, false, true);
  EXPECT_TRUE(Exists(DotFile(temp_, 4)));
  CancelWithEscape();
}

// The plug-in loaded into this program and run by the test host on a thread
// of its own, where its dialogs live: one session of `runs` dialog runs, so
// that each dialog opens with the parameters the run before it left.
class HostThread {
 public:
  explicit HostThread(int runs) : runs_(runs) {
    module_ = testhost::PluginModule::Load(STELLANE_PLUGIN_PATH, &error_);
    if (module_) thread_ = CreateThread(nullptr, 0, Main, this, 0, &threadId_);
  }
  // A scenario that stopped early cancels what is still open.
  ~HostThread() {
    if (!thread_) return;
    for (int waited = 0; waited < 300 && WaitForSingleObject(thread_, 100) != WAIT_OBJECT_0;
         ++waited)
      EnumThreadWindows(threadId_, CloseWindow, 0);
    if (WaitForSingleObject(thread_, 0) != WAIT_OBJECT_0) {
      TerminateThread(thread_, 1);
      module_.release();  // still in use by the stopped thread
    }
    CloseHandle(thread_);
  }
  const std::string& Error() const { return error_; }
  // The session as a program whose dialogs FindRunDialog finds.
  DialogRun AsRun() const {
    DialogRun run;
    run.process.hProcess = thread_;
    run.process.dwProcessId = GetCurrentProcessId();
    return run;
  }
  // Each run's result, once all have ended.
  std::vector<std::int16_t> Results() {
    WaitForSingleObject(thread_, 60000);
    return results_;
  }

 private:
  static DWORD WINAPI Main(void* self) {
    auto& h = *static_cast<HostThread*>(self);
    testhost::HostConfig config = testhost::PhotoshopHost();
    config.playInfo = ps::plugInDialogDisplay;  // nothing to play: the dialog
    testhost::TestHost host(h.module_->Entry(), config);
    for (int i = 0; i < h.runs_; ++i) {
      testhost::Image image = testhost::Image::Make(70, 50, 3, 8);
      for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 70; ++x)
          for (int c = 0; c < 3; ++c) image.Set(x, y, c, (x * 3 + y * 4 + c * 60) % 256);
      host.SetImage(std::move(image));
      h.results_.push_back(host.RunFilter().result);
    }
    return 0;
  }
  static BOOL CALLBACK CloseWindow(HWND window, LPARAM) {
    if (IsWindowVisible(window)) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
  }

  int runs_;
  std::unique_ptr<testhost::PluginModule> module_;
  std::string error_;
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  std::vector<std::int16_t> results_;
};

// What the dialog shows of the parameters: the sliders' boxes and the glue.
std::string Shown(HWND dialog) {
  std::string shown;
  for (int edit : {86, 40, 90, 91, 94, 92, 111, 85, 83, 93, 99, 81, kGlueList})
    shown += TextOf(dialog, edit) + "/";
  return shown;
}

TEST_F(DialogMemory, CancelBesideTheInfoBoxLeavesTheNextDialogTheParametersOfBefore) {
  UseEmptyTempFolder("info");  // no cached settings: a run starts from the session's record
  HostThread session(2);
  DialogRun run = session.AsRun();
  ASSERT_NE(run.process.hProcess, nullptr) << session.Error();
  run.dialog = FindRunDialog(run, "Stellane", 60);
  ASSERT_NE(run.dialog, nullptr) << "no dialog appeared";
  Settle(run.dialog, 300);
  const std::string opening = Shown(run.dialog);

  PressButton(run.dialog, kDice);
  TypeInto(run.dialog, kEditA, "80");  // typed, not taken yet
  PressButton(run.dialog, kInfo);
  HWND info = FindRunDialog(run, "Stellane tips", 20);
  ASSERT_NE(info, nullptr) << "no info box";
  EXPECT_EQ(GetWindow(info, GW_OWNER), nullptr);
  Screenshot(info, "info-box");
  // The main dialog goes on working beside it; a second "i" opens no other.
  const std::string glue = TextOf(run.dialog, kGlueList);
  PressButton(run.dialog, kNextGlue);
  EXPECT_NE(TextOf(run.dialog, kGlueList), glue);
  PressButton(run.dialog, kInfo);
  EXPECT_EQ(FindRunDialog(run, "Stellane tips", 1), info);
  ASSERT_NE(Shown(run.dialog), opening);

  // Escape in the main dialog cancels it; timer 997 then closes the info box.
  PostMessageA(GetDlgItem(run.dialog, kEditA), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntilClosed(info, 5)) << "the info box outlived the dialog";

  // The next dialog opens with the parameters from before the first one.
  HWND second = FindRunDialog(run, "Stellane", 60);
  ASSERT_NE(second, nullptr) << "no second dialog";
  Settle(second, 300);
  EXPECT_EQ(Shown(second), opening);
  Screenshot(second, "info-cancel-next-dialog");
  // Any button of the info box closes it.
  PressButton(second, kInfo);
  info = FindRunDialog(run, "Stellane tips", 20);
  ASSERT_NE(info, nullptr) << "no info box in the second dialog";
  PostMessageA(info, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntilClosed(info, 20)) << "the info box stayed open";
  PressButton(second, kCancel);
  EXPECT_EQ(session.Results(), (std::vector<std::int16_t>{-128, -128}));
}

}  // namespace
