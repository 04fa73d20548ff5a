// The common dialogs the main dialog opens: file open and save, the colour
// chooser (the host's colour services when offered), the info picture and
// the shell's "open" for written pages.
// clang-format off
#include <windows.h>  // first: the other Win32 headers build on it
#include <commdlg.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <cstring>

#include "dialog/DialogViewWin32.h"
#include "host/HostUi.h"

namespace stellane {

namespace {

// The system colour dialog's custom colours live as long as the program.
COLORREF customColours[16] = {};

struct FileChoiceText {
  const char* title;
  const char* filter;  // pairs of zero-terminated strings, ending in "\0\0"
  const char* extension;
  bool save;
};

FileChoiceText TextOf(FileChoice kind) {
  switch (kind) {
    case FileChoice::OpenSettings:
      return {"Open a settings file", "Stellane presets (*.q9r)\0*.q9r\0", "q9r", false};
    case FileChoice::SaveSettings:
      return {"Save a settings file", "Stellane presets (*.q9r)\0*.q9r\0", "q9r", true};
    case FileChoice::AnyFileInFolder:
      return {"Choose any file in the source folder", "All files (*.*)\0*.*\0", nullptr, false};
    case FileChoice::SavePsd:
      return {"Save a PSD file", "Photoshop files (*.psd)\0*.psd\0", "psd", true};
    case FileChoice::SaveHtmlPage:
      return {"Save an HTML page", "HTML pages (*.html)\0*.html\0", "html", true};
  }
  return {"", "All files (*.*)\0*.*\0", nullptr, false};
}

bool fileDialogOpen = false;
bool infoBoxOpen = false;
HWND infoOwnerWatch = nullptr;

INT_PTR CALLBACK InfoProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetTimer(box, kInfoBoxTimer, kTimerPeriodMs, nullptr);
      return TRUE;
    case WM_TIMER:
      // Closes itself once the main dialog is gone; an ended dialog is
      // hidden before it is destroyed.
      if (wParam == kInfoBoxTimer &&
          (!IsWindow(infoOwnerWatch) || !IsWindowVisible(infoOwnerWatch)))
        EndDialog(box, IDCANCEL);
      return TRUE;
    case WM_CLOSE:
      EndDialog(box, IDCANCEL);
      return TRUE;
    case WM_COMMAND:
      EndDialog(box, LOWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      KillTimer(box, kInfoBoxTimer);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool Win32DialogWindow::ChooseFile(FileChoice kind, const char* folder, const char* name,
                                   char (&path)[kPathBytes]) {
  // One file dialog at a time; a second request counts as cancelled.
  if (fileDialogOpen) return false;
  const FileChoiceText text = TextOf(kind);
  char file[kPathBytes] = {};
  std::snprintf(file, sizeof file, "%s", name ? name : "");
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = text.filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = folder && folder[0] ? folder : nullptr;
  ofn.lpstrTitle = text.title;
  ofn.lpstrDefExt = text.extension;
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  if (text.save)
    ofn.Flags |= OFN_OVERWRITEPROMPT;
  else
    ofn.Flags |= OFN_FILEMUSTEXIST;
  fileDialogOpen = true;
  const BOOL chosen = text.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  fileDialogOpen = false;
  if (!chosen) return false;
  std::snprintf(path, kPathBytes, "%s", file);
  return true;
}

bool Win32DialogWindow::ChooseColour(Color16& colour) {
  CHOOSECOLORA cc = {};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = dialog;
  cc.rgbResult = RGB(colour.red >> 8, colour.green >> 8, colour.blue >> 8);
  cc.lpCustColors = customColours;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&cc)) return false;
  colour.red = static_cast<std::uint16_t>(GetRValue(cc.rgbResult) << 8);
  colour.green = static_cast<std::uint16_t>(GetGValue(cc.rgbResult) << 8);
  colour.blue = static_cast<std::uint16_t>(GetBValue(cc.rgbResult) << 8);
  return true;
}

void Win32DialogWindow::ShowAbout() { ShowAboutBox(reinterpret_cast<std::intptr_t>(dialog)); }

void Win32DialogWindow::ShowInfoBox() {
  // Without an owner, so that the main dialog stays usable beside it.
  if (infoBoxOpen) return;
  infoBoxOpen = true;
  infoOwnerWatch = dialog;
  DialogBoxParamA(module, "PEXA_INFO_BOX", nullptr, InfoProc, 0);
  infoBoxOpen = false;
}

void Win32DialogWindow::OpenDocument(const char* path) {
  ShellExecuteA(dialog, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace stellane
