// Drives the main dialog the way a user does, inside a real filter run
// through PluginMain and the test host: a recording fake window stands in for
// the Win32 view, and the test acts while the dialog is open.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../unit/ScratchTempFolder.h"
#include "Ramp.h"
#include "dialog/DialogHeadless.h"
#include "dialog/ExportRunOf.h"
#include "dialog/MainDialog.h"
#include "export/PsdExport.h"
#include "host/PluginEntry.h"
#include "params/DotDirectory.h"
#include "params/ParamTable.h"
#include "testhost/TestHost.h"

namespace dialogtest {

using stellane::DialogCursor;
using stellane::FileChoice;
using stellane::Globals;
using stellane::kPathBytes;

struct FakeWindow final : stellane::DialogWindow {
  struct Posted {
    bool command;
    int control, x, y;
  };
  std::map<int, std::string> texts;
  int selection = -1;
  std::map<int, int> repaints;
  std::set<int> timers;
  bool captured = false;
  DialogCursor cursor = DialogCursor::Arrow;
  std::deque<Posted> posted;
  // Answers of the file choosers: the chosen path, or none for Cancel.
  std::function<std::string(FileChoice)> choose = [](FileChoice) { return std::string(); };
  std::vector<FileChoice> choosers;
  std::vector<std::string> proposedNames;  // the name each chooser started with
  std::vector<std::string> psdExports;
  int endCode = -1;
  int aboutShown = 0;
  int infoShown = 0;
  // What the user does in the main dialog while the About or info box is open.
  std::function<void()> whileBoxOpen = [] {};
  std::vector<std::string> opened;
  int outlines = 0;  // the preview's image area outlined

  void SetControlText(int c, const char* text) override { texts[c] = text; }
  void GetControlText(int c, char* text, int capacity) override {
    std::snprintf(text, static_cast<std::size_t>(capacity), "%s", texts[c].c_str());
  }
  void SetListSelection(int, int index) override { selection = index; }
  int ListSelection(int) override { return selection; }
  void RepaintControl(int c) override { ++repaints[c]; }
  void StartTimer(int t, int) override { timers.insert(t); }
  void StopTimer(int t) override { timers.erase(t); }
  void CaptureMouse() override { captured = true; }
  void ReleaseMouse() override { captured = false; }
  void SetCursor(DialogCursor c) override { cursor = c; }
  bool ChooseFile(FileChoice kind, const char*, const char* name,
                  char (&path)[kPathBytes]) override {
    choosers.push_back(kind);
    proposedNames.push_back(name ? name : "");
    const std::string chosen = choose(kind);
    std::snprintf(path, kPathBytes, "%s", chosen.c_str());
    return !chosen.empty();
  }
  bool ChooseColour(stellane::Color16&) override { return false; }
  std::int16_t RunPsdExport(Globals& g, const char* path) override {
    psdExports.push_back(path);
    return stellane::ExportPsd(stellane::ExportRunOf(g), path, nullptr);
  }
  void ShowAbout() override {
    ++aboutShown;
    whileBoxOpen();
  }
  void ShowInfoBox() override {
    ++infoShown;
    whileBoxOpen();
  }
  void OpenDocument(const char* path) override { opened.push_back(path); }
  void PostCommand(int c) override { posted.push_back({true, c, 0, 0}); }
  void PostMouseMove(int x, int y) override { posted.push_back({false, -1, x, y}); }
  void* PreviewDrawingContext() override { return this; }
  void DrawPreviewOutline() override { ++outlines; }
  void FillPreviewSurround(const ps::VRect&) override {}
  void EndDialog(int code) override { endCode = code; }

  // The user's gestures.
  void Pump(Globals& g) {
    while (!posted.empty()) {
      const Posted p = posted.front();
      posted.pop_front();
      if (p.command)
        stellane::DialogCommand(g, p.control, stellane::kNotifyClick);
      else
        stellane::DialogMouseMove(g, p.x, p.y);
    }
  }
  void Click(Globals& g, int control) {
    stellane::DialogCommand(g, control, stellane::kNotifyClick);
  }
  void Type(Globals& g, int edit, const std::string& text) {
    texts[edit] = text;
    stellane::DialogCommand(g, edit, stellane::kNotifyTextChanged);
  }
  // One second passes.
  void Tick(Globals& g) {
    if (timers.count(stellane::kEditTimer)) stellane::DialogTimer(g, stellane::kEditTimer);
  }
  void Press(Globals& g, int x, int y, bool right = false, bool ctrl = false) {
    stellane::DialogMousePress(g, x, y, right, ctrl);
    Pump(g);
  }
  void Move(Globals& g, int x, int y) {
    stellane::DialogMouseMove(g, x, y);
    Pump(g);
  }
  void Release(Globals& g, int x, int y) {
    stellane::DialogMouseRelease(g, x, y);
    Pump(g);
  }
  void ClickAt(Globals& g, int x, int y, bool right = false, bool ctrl = false) {
    Press(g, x, y, right, ctrl);
    Release(g, x, y);
  }
};

// A centre point of a control.
inline int CentreX(int control) {
  const auto& r = stellane::LookupControl(control).rect;
  return (r.left + r.right) / 2;
}
inline int CentreY(int control) {
  const auto& r = stellane::LookupControl(control).rect;
  return (r.top + r.bottom) / 2;
}

using testing_pictures::Ramp;
using testing_pictures::RampValue;

class DialogRun : public ::testing::Test {
 protected:
  DialogRun() {
    config_.hostSig = ps::FourCC("TEST");  // every preview row is drawn
    config_.playInfo = ps::plugInDialogDisplay;
  }
  ~DialogRun() override { stellane::SetHeadlessDialogUser(nullptr, nullptr); }

  // One filter run whose dialog is handed to `act`.
  testhost::RunReport Run(const std::function<void(Globals&)>& act, int width = 40,
                          int height = 30) {
    if (!host_) host_ = std::make_unique<testhost::TestHost>(&stellane::PluginMainImpl, config_);
    host_->Config() = config_;
    host_->SetImage(Ramp(width, height, 3, depth_));
    window = FakeWindow{};
    bool opened = false;
    stellane::SetHeadlessDialogUser(&window, [&](Globals& g) {
      opened = true;
      act(g);
    });
    testhost::RunReport report = host_->RunFilter({withParameters_});
    EXPECT_TRUE(opened) << "the run showed no dialog";
    return report;
  }
  int Displays() const { return static_cast<int>(host_->Log().displays.size()); }

  stellane::ScratchTempFolder temp_;
  testhost::HostConfig config_;
  std::unique_ptr<testhost::TestHost> host_;
  FakeWindow window;
  int depth_ = 8;
  bool withParameters_ = false;  // the user chose the filter from the menu
};

// Every parameter of the table, in its order, for comparing whole sets.
inline std::vector<double> ParamSet(const stellane::RenderParams& p) {
  std::vector<double> values;
  for (const auto& row : stellane::ParamTable())
    values.push_back(row.kind == stellane::ParamKind::Float ? stellane::GetFloatParam(p, row)
                                                            : stellane::GetIntParam(p, row));
  return values;
}

}  // namespace dialogtest
