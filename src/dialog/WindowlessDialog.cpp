// A dialog without a window: it opens on a window that shows nothing, and OK
// is pressed at once. This is what a start that wants the dialog does where
// no window system is at hand.
#include "dialog/WindowlessDialog.h"

#include <cstdio>

#include "dialog/DialogHeadless.h"
#include "dialog/MainDialog.h"
#include "export/PsdExport.h"

namespace stellane {

namespace {

// A window that shows nothing and whose choosers are always cancelled.
struct NoWindow final : DialogWindow {
  // The edit boxes hold what the program wrote last.
  void SetControlText(int control, const char* text) override {
    if (control < 0 || control >= kControlCount) return;
    std::snprintf(texts[control], sizeof texts[control], "%s", text);
  }
  void GetControlText(int control, char* text, int capacity) override {
    if (capacity <= 0) return;
    const bool known = control >= 0 && control < kControlCount;
    std::snprintf(text, static_cast<std::size_t>(capacity), "%s", known ? texts[control] : "");
  }
  void SetListSelection(int, int index) override { selection = index; }
  int ListSelection(int) override { return selection; }
  void RepaintControl(int) override {}
  void StartTimer(int, int) override {}
  void StopTimer(int) override {}
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  void SetCursor(DialogCursor) override {}
  bool ChooseFile(FileChoice, const char*, const char*, char (&)[kPathBytes]) override {
    return false;
  }
  bool ChooseColour(Color16&) override { return false; }
  // Nothing to show progress on: the export runs as it is.
  std::int16_t RunPsdExport(Globals& g, const char* path) override {
    return ExportPsd(g, path, nullptr);
  }
  void ShowAbout() override {}
  void ShowInfoBox() override {}
  void OpenDocument(const char*) override {}
  void PostCommand(int) override {}
  void PostMouseMove(int, int) override {}
  void* PreviewDrawingContext() override { return nullptr; }
  void DrawPreviewOutline() override {}
  void FillPreviewSurround(const ps::VRect&) override {}
  void EndDialog(int) override {}
  int selection = -1;
  char texts[kControlCount][32] = {};
};

DialogWindow* userWindow = nullptr;
std::function<void(Globals&)> userAct;

}  // namespace

void SetHeadlessDialogUser(DialogWindow* window, std::function<void(Globals&)> act) {
  userWindow = window;
  userAct = window ? std::move(act) : nullptr;
}

void RunWindowlessDialog(Globals& g) { RunDialogOn(g, userWindow, userAct); }

void RunDialogOn(Globals& g, DialogWindow* window, const std::function<void(Globals&)>& act) {
  NoWindow none;
  DialogSession session;
  OpenMainDialog(g, session, window ? *window : none);
  if (window && act) act(g);
  if (!session.ended) DialogCommand(g, ctl::kOk, kNotifyClick);
  CloseMainDialog(g);
}

}  // namespace stellane
