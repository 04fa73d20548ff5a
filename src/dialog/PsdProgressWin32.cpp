// The PSD export's progress window, "VASTO_PROGRESS": it opens over the main
// dialog, waits a second on timer 993 so that it is seen, then runs the export
// inside that timer message, showing the percentage as rows complete. Escape,
// the close box and its Cancel button ask the export to stop; the export
// checks every eighth row, and asks the host's abort test as well. One
// progress window at a time.
// clang-format off
#include <windows.h>  // first: the other Win32 headers build on it
// clang-format on

#include <cstdio>

#include "dialog/DialogViewWin32.h"
#include "dialog/ExportRunOf.h"
#include "export/PsdExport.h"

namespace stellane {

namespace {

constexpr UINT_PTR kProgressTimer = 993;
// The percentage under "Rendering..." (101): "0%" at first, "Cancelling..."
// once a cancel was asked for.
constexpr int kPercentText = 102;

struct ProgressRun {
  Globals* g;
  const char* path;
  std::int16_t status;
  bool cancelWanted;
  bool exporting;
  HWND* box;  // the view's open progress window, set while it exists
};

void CentreOnParent(HWND box) {
  HWND parent = GetParent(box);
  RECT area;
  if (parent)
    GetWindowRect(parent, &area);
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  RECT own;
  GetWindowRect(box, &own);
  const LONG width = own.right - own.left;
  const LONG height = own.bottom - own.top;
  SetWindowPos(box, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowPercent(void* user, std::int32_t percent) {
  const HWND box = *static_cast<ProgressRun*>(user)->box;
  char text[16];
  std::snprintf(text, sizeof text, "%d%%", static_cast<int>(percent));
  SetDlgItemTextA(box, kPercentText, text);
  UpdateWindow(box);
}

// The export runs inside a message of this window, so the user's Escape,
// close box and Cancel reach it only through this pump. Only the progress
// window's own messages are handled: the main dialog's timers and commands
// must not run in the middle of an export.
bool CancelWanted(void* user) {
  auto* run = static_cast<ProgressRun*>(user);
  const HWND box = *run->box;
  MSG msg;
  while (PeekMessageA(&msg, box, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageA(box, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return run->cancelWanted;
}

// The export stops for a cancel, asked here or by the host.
void ShowCancelling(void* user) {
  const HWND box = *static_cast<ProgressRun*>(user)->box;
  SetDlgItemTextA(box, kPercentText, "Cancelling...");
  UpdateWindow(box);
}

void RunExport(HWND box, ProgressRun& run) {
  run.exporting = true;
  const ExportProgress progress{ShowPercent, CancelWanted, ShowCancelling, &run};
  run.status = ExportPsd(ExportRunOf(*run.g), run.path, &progress);
  run.exporting = false;
  ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  ::EndDialog(box, 0);
}

// Cancel while the export runs is answered between rows; before it has
// started, the window simply closes.
void AskToCancel(HWND box, ProgressRun& run) {
  run.cancelWanted = true;
  if (run.exporting) return;
  KillTimer(box, kProgressTimer);
  run.status = ps::userCanceledErr;
  ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  ::EndDialog(box, 0);
}

INT_PTR CALLBACK ProgressProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* run = reinterpret_cast<ProgressRun*>(GetWindowLongPtrA(box, GWLP_USERDATA));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(box, GWLP_USERDATA, lParam);
      *reinterpret_cast<ProgressRun*>(lParam)->box = box;
      CentreOnParent(box);
      ShowWindow(box, SW_SHOW);
      ::SetCursor(LoadCursorA(nullptr, IDC_WAIT));
      SetTimer(box, kProgressTimer, kTimerPeriodMs, nullptr);
      return TRUE;
    case WM_TIMER:
      if (wParam != kProgressTimer || !run) return FALSE;
      KillTimer(box, kProgressTimer);  // one shot
      RunExport(box, *run);
      return TRUE;
    case WM_SETCURSOR:
      // The wait cursor stays over the window until the export has ended.
      ::SetCursor(LoadCursorA(nullptr, IDC_WAIT));
      SetWindowLongPtrA(box, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && run) AskToCancel(box, *run);
      return TRUE;
    case WM_CLOSE:
      if (run) AskToCancel(box, *run);
      return TRUE;
    case WM_DESTROY:
      KillTimer(box, kProgressTimer);
      if (run) *run->box = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::int16_t Win32DialogWindow::RunPsdExport(Globals& globals, const char* path) {
  if (progressBox) {
    BringWindowToTop(progressBox);
    return kExportNotStarted;
  }
  ProgressRun run{&globals, path, kExportNotStarted, false, false, &progressBox};
  // A window that cannot be made leaves nothing to cancel with, and nothing
  // to tell the user: no export.
  if (DialogBoxParamA(module, "VASTO_PROGRESS", dialog, ProgressProc,
                      reinterpret_cast<LPARAM>(&run)) == -1)
    return kExportNotStarted;
  // A file that could not be made or written must not pass for a saved one.
  if (run.status != 0 && run.status != ps::userCanceledErr && run.status != kExportNotStarted) {
    MessageBoxA(dialog, "The PSD file could not be written.", "Stellane", MB_OK | MB_ICONWARNING);
  }
  return run.status;
}

}  // namespace stellane
