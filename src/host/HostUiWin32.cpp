// The about box and the refusal messages, drawn from the module's own dialog
// templates (resources/Dialogs.rc). All of them are modal: DialogBoxParam
// runs the message loop until the dialog ends.
// clang-format off
#include <windows.h>  // first: the other Win32 headers build on it
#include <shellapi.h>
// clang-format on

#include "host/HostUi.h"
#include "host/ModuleInstanceWin32.h"
#include "host/WhiteBoxWin32.h"
#include "host/WindowPlacementWin32.h"

namespace stellane {

namespace {

constexpr int kWebsiteButton = 5;
constexpr const char* kWebsite = "https://www.quillwork.example/stellane";

// Process-wide: the about selector carries no instance record, and the main
// dialog's logo opens and closes the same box.
bool aboutOpen = false;
HWND aboutBox = nullptr;  // while it is open

// Centred horizontally over `over` (or the desktop), with a third of the
// free height above and two thirds below, then pulled inside the work area of
// the monitor it lands on.
void PlaceOver(HWND dialog, HWND over) {
  RECT area;
  if (over == nullptr || !GetWindowRect(over, &area))
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  RECT box;
  GetWindowRect(dialog, &box);
  const LONG width = box.right - box.left;
  const LONG height = box.bottom - box.top;
  MoveOntoScreen(dialog, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 3);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      PlaceOver(dialog, reinterpret_cast<HWND>(lParam));
      aboutOpen = true;
      aboutBox = dialog;
      return TRUE;
    case WM_ERASEBKGND:
      return EraseWhite(dialog, wParam);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return WhiteUnderText(wParam);
    case WM_CLOSE:
      EndDialog(dialog, 1);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == kWebsiteButton)
        ShellExecuteA(dialog, "open", kWebsite, nullptr, nullptr, SW_SHOWNORMAL);
      EndDialog(dialog, id);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK RefusalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      PlaceOver(dialog, GetParent(dialog));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case WM_COMMAND:
      EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(std::intptr_t parentWindow) {
  if (aboutOpen) return;
  // Owned by no window, so the window it was asked from stays usable (the
  // main dialog handles a Cancel meanwhile); it is only placed over it.
  DialogBoxParamA(ModuleInstance(), "ABOUTBOX", nullptr, AboutProc, parentWindow);
  aboutOpen = false;
  aboutBox = nullptr;
}

bool AboutBoxOpen() { return aboutOpen; }
void ClearAboutBoxOpen() { aboutOpen = false; }

void CloseAboutBox() {
  if (aboutBox) PostMessageA(aboutBox, WM_CLOSE, 0, 0);
}

void ShowRefusal(Refusal refusal, std::intptr_t parentWindow) {
  const char* name = refusal == Refusal::HostTooOld ? "REFUSAL2" : "REFUSAL1";
  DialogBoxParamA(ModuleInstance(), name, reinterpret_cast<HWND>(parentWindow), RefusalProc, 0);
}

}  // namespace stellane
