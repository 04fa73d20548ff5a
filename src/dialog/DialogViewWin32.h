// The Win32 view of the main dialog: the window that implements DialogWindow
// over the "DISSOLVESANSPARAM" dialog, and the painting and choosers it uses.
// Included only by the *Win32.cpp files of the dialog.
#pragma once

// clang-format off
#include <windows.h>  // first: the other Win32 headers build on it
// clang-format on

#include <string>

#include "dialog/DialogState.h"
#include "dialog/DialogWindow.h"
#include "host/Globals.h"

namespace stellane {

// Text of the plug-in (UTF-8, such as a settings file's name) for the
// wide-character calls, so that names in any script show as they are.
std::wstring Wide(const char* utf8);

// The pictures and cursors of the dialog, loaded from the module's resources
// once per opening; any of them may be missing, and painting then falls back
// to plain drawing.
struct DialogArt {
  HBITMAP background;
  HBITMAP tracks[2];
  HBITMAP knob;
  HBITMAP dots[10];
  HBITMAP thumbnailFrame;
  HBITMAP logo;
  HCURSOR openHand;
  HCURSOR closedHand;
  HFONT labelFont;
};

void LoadDialogArt(HINSTANCE module, DialogArt& art);
void FreeDialogArt(DialogArt& art);

struct Win32DialogWindow final : DialogWindow {
  void SetControlText(int control, const char* text) override;
  void GetControlText(int control, char* text, int capacity) override;
  void SetListSelection(int control, int index) override;
  int ListSelection(int control) override;
  void RepaintControl(int control) override;
  void StartTimer(int timer, int periodMs) override;
  void StopTimer(int timer) override;
  void CaptureMouse() override;
  void ReleaseMouse() override;
  void SetCursor(DialogCursor cursor) override;
  bool ChooseFile(FileChoice kind, const char* folder, const char* name,
                  char (&path)[kPathBytes]) override;
  bool ChooseColour(Color16& colour) override;
  std::int16_t RunPsdExport(Globals& globals, const char* path) override;
  void ShowAbout() override;
  void ShowInfoBox() override;
  void OpenDocument(const char* path) override;
  void PostCommand(int control) override;
  void PostMouseMove(int x, int y) override;
  void* PreviewDrawingContext() override;
  void DrawPreviewOutline() override;
  void FillPreviewSurround(const ps::VRect& image) override;
  void EndDialog(int code) override;

  HWND dialog = nullptr;
  HINSTANCE module = nullptr;
  Globals* g = nullptr;
  HDC paintContext = nullptr;   // the WM_PAINT context while painting
  HDC windowContext = nullptr;  // the client context outside WM_PAINT
  HCURSOR cursor = nullptr;
  DialogArt art{};
  // One file dialog and one info box at a time: a second request while one
  // is open (from its own message loop) is passed over.
  bool fileDialogOpen = false;
  bool infoBoxOpen = false;
  HWND progressBox = nullptr;  // the PSD export's progress window while open
  // The visual styles' activation context while the dialog runs.
  HANDLE styles = INVALID_HANDLE_VALUE;
};

// Painting of the dialog's own areas, on `dc` in client pixels.
void PaintDialogBackground(const DialogArt& art, HDC dc, const RECT& area);
void PaintCustomControl(Globals& g, const DialogArt& art, HDC dc, int control);
void PaintColourChip(Globals& g, const DRAWITEMSTRUCT& item);
// `image` (packed 8-bit colour, sourceWidth x sourceHeight) drawn into `to`,
// each pixel from its nearest source pixel.
void PaintPackedImage(HDC dc, const TiledImage& image, int sourceWidth, int sourceHeight,
                      const RECT& to);

}  // namespace stellane
