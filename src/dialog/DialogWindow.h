// What the dialog's behaviour asks of its window. The Win32 view implements
// it over the real dialog; tests implement it with a recording fake. Control
// numbers are the dialog's fixed item numbers (ControlTable.h).
#pragma once

#include <cstdint>

#include "host/PluginApi.h"
#include "params/RenderParams.h"

namespace stellane {

struct Globals;

enum class DialogCursor : std::uint8_t { Arrow, OpenHand, ClosedHand, Busy };

// The file choosers the dialog opens; each kind has its own title and filter.
enum class FileChoice : std::uint8_t {
  OpenSettings,     // the preset browser: "Open a settings file", *.q9r
  SaveSettings,     // "Save a settings file", *.q9r, overwrite prompt
  AnyFileInFolder,  // "Choose any file in the source folder", *.*
  SavePsd,          // the PSD export's file, *.psd
  SaveHtmlPage      // "Save an HTML page", *.html
};

struct DialogWindow {
  virtual ~DialogWindow() = default;

  // Edit boxes and button captions. Writing from the program must not count
  // as typing (the behaviour stops the edit timer after every write).
  virtual void SetControlText(int control, const char* text) = 0;
  // Copies at most capacity - 1 characters and a terminating zero.
  virtual void GetControlText(int control, char* text, int capacity) = 0;
  virtual void SetListSelection(int control, int index) = 0;
  virtual int ListSelection(int control) = 0;  // -1 for none

  virtual void RepaintControl(int control) = 0;
  virtual void StartTimer(int timer, int periodMs) = 0;
  virtual void StopTimer(int timer) = 0;
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  virtual void SetCursor(DialogCursor cursor) = 0;

  // False when the user cancelled. `folder` and `name` are where the chooser
  // starts; `path` receives the chosen full path.
  virtual bool ChooseFile(FileChoice kind, const char* folder, const char* name,
                          char (&path)[kPathBytes]) = 0;
  // The system colour chooser, started at `colour`; false on Cancel.
  virtual bool ChooseColour(Color16& colour) = 0;
  // Exports the current settings as a PSD file at `path`, showing whatever
  // progress the window can (with a way to cancel); returns the export's
  // status, 199 when an export is already running.
  virtual std::int16_t RunPsdExport(Globals& g, const char* path) = 0;
  virtual void ShowAbout() = 0;
  virtual void ShowInfoBox() = 0;
  // Opens a written page in the user's browser (the shell verb "open").
  virtual void OpenDocument(const char* path) = 0;

  // Messages the behaviour sends to itself, handled after the current one.
  virtual void PostCommand(int control) = 0;
  virtual void PostMouseMove(int x, int y) = 0;

  // The device context handed to the host's displayPixels for the preview,
  // the black outline just outside the preview's image area (every paint)
  // and the white fill of that area around the drawn image.
  virtual void* PreviewDrawingContext() = 0;
  virtual void DrawPreviewOutline() = 0;
  virtual void FillPreviewSurround(const ps::VRect& image) = 0;

  // Closes the modal dialog with the end button's number.
  virtual void EndDialog(int code) = 0;
};

}  // namespace stellane
