// Runs the main dialog without a window system.
#pragma once

#include <cstdio>
#include <functional>

#include "dialog/ControlTable.h"
#include "dialog/DialogWindow.h"
#include "host/Globals.h"

namespace stellane {

// A window that shows nothing and whose choosers are always cancelled; a
// base for stand-ins that need only a few of the calls.
struct NoWindow : DialogWindow {
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
  std::int16_t RunPsdExport(Globals& g, const char* path) override;
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

// Opens the dialog on `window` (a window that shows nothing when null), lets
// `act` use it, then presses OK unless the dialog has ended. Returns the
// dialog's outcome, as RunMainDialog does.
ps::OSErr RunDialogOn(Globals& g, DialogWindow* window, const std::function<void(Globals&)>& act);

// The dialog on the window and user set by SetHeadlessDialogUser, or on no
// window with OK at once.
ps::OSErr RunWindowlessDialog(Globals& g);

}  // namespace stellane
