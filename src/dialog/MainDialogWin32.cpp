// The main dialog on Windows: the "DISSOLVESANSPARAM" dialog whose procedure
// hands every message to the dialog's behaviour (MainDialog.h) and implements
// the window side the behaviour asks for (DialogWindow.h).
// clang-format off
#include <windows.h>  // first: the other Win32 headers build on it
#include <windowsx.h>
// clang-format on

#include <cstdio>
#include <cstdlib>

#include "dialog/DialogEntry.h"
#include "dialog/DialogViewWin32.h"
#include "dialog/MainDialog.h"
#include "dialog/VisualStylesWin32.h"
#include "glue/GlueNames.h"
#include "host/HostUi.h"
#include "host/ModuleInstanceWin32.h"
#include "host/WindowPlacementWin32.h"

namespace stellane {

namespace {

Win32DialogWindow* ViewOf(HWND dialog) {
  return reinterpret_cast<Win32DialogWindow*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

bool IsPushButton(ControlKind kind) {
  return kind == ControlKind::EndButton || kind == ControlKind::IconButton ||
         kind == ControlKind::PlainButton;
}

// Client size 924 x 573 and every control on its pixel rectangle.
void PlaceControls(HWND dialog) {
  RECT frame = {0, 0, kDesignWidth, kDesignHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int c = 0; c < kControlCount; ++c) {
    const ControlDesc& d = LookupControl(c);
    HWND item = GetDlgItem(dialog, c);
    if (d.kind == ControlKind::None || !item) continue;
    ControlRect r = d.rect;
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    if (IsPushButton(d.kind)) {
      r.top -= 2;
      r.left -= 2;
      if (c == ctl::kZoomFull) r.top -= 2;
    }
    if (d.kind == ControlKind::GlueList) {
      width += 19;
      height = 300;  // the drop-down's open height; the closed box keeps its own
    }
    MoveWindow(item, r.left, r.top, width, height, FALSE);
  }
}

// Over the parent's client area: centred and moved left by a caption's
// height (two thirds of it for a window without a system menu), a third of
// the free height down, kept inside the screen.
void PlaceOverParent(HWND dialog) {
  HWND parent = GetParent(dialog);
  RECT area;
  if (parent) {
    GetClientRect(parent, &area);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&area), 2);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT box;
  GetWindowRect(dialog, &box);
  const LONG width = box.right - box.left;
  const LONG height = box.bottom - box.top;
  LONG shift = GetSystemMetrics(SM_CYCAPTION);
  if (!(GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU)) shift = shift * 2 / 3;
  MoveOntoScreen(dialog, area.left + (area.right - area.left - width) / 2 - shift,
                 area.top + (area.bottom - area.top - height) / 3);
}

void PrepareControls(Win32DialogWindow& view) {
  HWND dialog = view.dialog;
  HWND glue = GetDlgItem(dialog, ctl::kGlueList);
  // Entry k stands for glue value k + 1.
  for (const char* name : kGlueModeNames)
    SendMessageA(glue, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  // An icon button shows its icon instead of its caption, when the icon is there.
  for (int c = 0; c < kControlCount; ++c) {
    const ControlDesc& d = LookupControl(c);
    if (d.kind != ControlKind::IconButton || d.icon == 0) continue;
    HANDLE icon = LoadImageA(view.module, MAKEINTRESOURCEA(d.icon), IMAGE_ICON, 0, 0, 0);
    if (!icon) continue;
    HWND button = GetDlgItem(dialog, c);
    SetWindowLongA(button, GWL_STYLE, GetWindowLongA(button, GWL_STYLE) | BS_ICON);
    SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    SetWindowTextA(button, "");
  }
  // Small edit boxes: the label font fits their 12 pixels.
  for (int c = 0; c < kControlCount; ++c) {
    if (!IsKind(c, ControlKind::Slider)) continue;
    HWND edit = GetDlgItem(dialog, LookupControl(c).editPartner);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(view.art.labelFont), FALSE);
  }
}

void Paint(Win32DialogWindow& view) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(view.dialog, &ps);
  view.paintContext = dc;
  Globals& g = *view.g;
  PaintDialogBackground(view.art, dc, ps.rcPaint);
  if (g.dialogSession) {
    if (g.params->previewEnabled) PaintPreview(g, true);
    for (int c = 0; c < kControlCount; ++c) PaintCustomControl(g, view.art, dc, c);
  }
  view.paintContext = nullptr;
  EndPaint(view.dialog, &ps);
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32DialogWindow* view = ViewOf(dialog);
  if (message == WM_INITDIALOG) {
    view = reinterpret_cast<Win32DialogWindow*>(lParam);
    SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
    view->dialog = dialog;
    view->windowContext = GetDC(dialog);
    PlaceControls(dialog);
    PlaceOverParent(dialog);
    PrepareControls(*view);
    return TRUE;
  }
  if (!view || !view->g || !view->g->dialogSession) {
    if (message == WM_CLOSE && view) ::EndDialog(dialog, ctl::kCancel);
    return FALSE;
  }
  Globals& g = *view->g;
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;  // WM_PAINT draws every pixel
    case WM_PAINT:
      Paint(*view);
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (!IsKind(static_cast<int>(item->CtlID), ControlKind::ColorChip)) return FALSE;
      PaintColourChip(g, *item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetStockObject(HOLLOW_BRUSH));
    case WM_COMMAND: {
      int control = LOWORD(wParam);
      if (control == IDOK) control = ctl::kOk;  // Enter without a default button
      DialogCommand(g, control, HIWORD(wParam));
      return TRUE;
    }
    case WM_CLOSE:
      DialogCommand(g, ctl::kCancel, kNotifyClick);
      return TRUE;
    case WM_TIMER:
      DialogTimer(g, static_cast<int>(wParam));
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      DialogMousePress(g, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), message == WM_RBUTTONDOWN,
                       (wParam & MK_CONTROL) != 0);
      return TRUE;
    case WM_MOUSEMOVE:
      DialogMouseMove(g, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      DialogMouseRelease(g, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_SETCURSOR:
      // Over the client area the dialog's own cursor stays.
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == dialog && view->cursor) {
        ::SetCursor(view->cursor);
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

// ---- DialogWindow over the real dialog

void Win32DialogWindow::SetControlText(int control, const char* text) {
  SetDlgItemTextW(dialog, control, Wide(text).c_str());
}

void Win32DialogWindow::GetControlText(int control, char* text, int capacity) {
  if (capacity <= 0) return;
  text[0] = 0;
  GetDlgItemTextA(dialog, control, text, capacity);
}

void Win32DialogWindow::SetListSelection(int control, int index) {
  SendDlgItemMessageA(dialog, control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32DialogWindow::ListSelection(int control) {
  const LRESULT index = SendDlgItemMessageA(dialog, control, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32DialogWindow::RepaintControl(int control) {
  const ControlDesc& d = LookupControl(control);
  if (d.kind == ControlKind::None) return;
  HWND item = GetDlgItem(dialog, control);
  // System controls repaint themselves; the dialog's own areas are redrawn
  // at once, so that a drag shows each step. The control's own style tells
  // the two apart: IsWindowVisible is false for every control while the
  // dialog itself is still hidden, as it is when the opening sets the zoom
  // buttons.
  if (item && (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE)) {
    // The zoom buttons follow their enabled flags; the glue controls keep
    // working whatever theirs say.
    if (control == ctl::kZoomIn || control == ctl::kZoomOut)
      EnableWindow(item, g && g->dialogSession && Dialog(*g).enabled[control]);
    InvalidateRect(item, nullptr, FALSE);
    return;
  }
  if (!windowContext || !g || !g->dialogSession) return;
  PaintCustomControl(*g, art, windowContext, control);
}

void Win32DialogWindow::StartTimer(int timer, int periodMs) {
  SetTimer(dialog, static_cast<UINT_PTR>(timer), static_cast<UINT>(periodMs), nullptr);
}

void Win32DialogWindow::StopTimer(int timer) { KillTimer(dialog, static_cast<UINT_PTR>(timer)); }
void Win32DialogWindow::CaptureMouse() { SetCapture(dialog); }
void Win32DialogWindow::ReleaseMouse() { ReleaseCapture(); }

void Win32DialogWindow::SetCursor(DialogCursor kind) {
  switch (kind) {
    case DialogCursor::Arrow:
      cursor = LoadCursorA(nullptr, IDC_ARROW);
      break;
    case DialogCursor::OpenHand:
      cursor = art.openHand ? art.openHand : LoadCursorA(nullptr, IDC_HAND);
      break;
    case DialogCursor::ClosedHand:
      cursor = art.closedHand ? art.closedHand : LoadCursorA(nullptr, IDC_SIZEALL);
      break;
    case DialogCursor::Busy:
      cursor = LoadCursorA(nullptr, IDC_WAIT);
      break;
  }
  ::SetCursor(cursor);
}

void Win32DialogWindow::PostCommand(int control) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, kNotifyClick), 0);
}

void Win32DialogWindow::PostMouseMove(int x, int y) {
  PostMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void* Win32DialogWindow::PreviewDrawingContext() {
  return paintContext ? paintContext : windowContext;
}

namespace {

// The preview's image area: the frame less 2 pixels all round.
RECT PreviewImageArea() {
  const ControlRect f = LookupControl(ctl::kPreview).rect;
  return {f.left + 2, f.top + 2, f.right - 2, f.bottom - 2};
}

}  // namespace

void Win32DialogWindow::DrawPreviewOutline() {
  HDC dc = paintContext ? paintContext : windowContext;
  if (!dc) return;
  const RECT area = PreviewImageArea();
  const RECT outline = {area.left - 1, area.top - 1, area.right + 1, area.bottom + 1};
  FrameRect(dc, &outline, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void Win32DialogWindow::FillPreviewSurround(const ps::VRect& image) {
  HDC dc = paintContext ? paintContext : windowContext;
  if (!dc) return;
  const RECT area = PreviewImageArea();
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, image.left, image.top, image.right, image.bottom);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  RestoreDC(dc, saved);
}

void Win32DialogWindow::EndDialog(int code) {
  KillTimer(dialog, kEditTimer);
  ::EndDialog(dialog, code);
  // An About box opened from the logo has no owner and would outlive the
  // dialog (the info box closes itself by its timer).
  CloseAboutBox();
}

// ---- The modal run

namespace {

// The dialog's own loop, inside the visual styles' activation context.
ps::OSErr RunStyledDialog(Globals& g, Win32DialogWindow& view) {
  const VisualStylesScope activeStyles(view.styles);
  LoadDialogArt(view.module, view.art);
  view.cursor = LoadCursorA(nullptr, IDC_ARROW);
  HWND parent = nullptr;
  if (const auto* platform = static_cast<const ps::PlatformData*>(g.filterRecord->platformData))
    parent = reinterpret_cast<HWND>(platform->hwnd);

  // A modeless dialog with its own loop: the behaviour opens once the window
  // exists (its first preview draws into it) and ends the loop by OK or Cancel.
  DialogSession session{};
  HWND dialog = CreateDialogParamA(view.module, "DISSOLVESANSPARAM", parent, MainDialogProc,
                                   reinterpret_cast<LPARAM>(&view));
  if (!dialog) {
    // Without its window the dialog cannot ask the user. That is a failure
    // (window resources exhausted), not the user's Cancel: the host says so.
    FreeDialogArt(view.art);
    return ps::memFullErr;
  }
  view.g = &g;
  OpenMainDialog(g, session, view);
  if (parent) EnableWindow(parent, FALSE);
  ShowWindow(dialog, SW_SHOW);
  MSG msg = {};
  bool quit = false;
  while (!session.ended) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (!IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // A program that quits while the dialog is open cancels it, and the quit
  // goes on to the host's own loop.
  if (!session.ended) DialogCommand(g, ctl::kCancel, kNotifyClick);
  const ps::OSErr outcome = session.status;
  if (parent) EnableWindow(parent, TRUE);
  CloseMainDialog(g);
  view.g = nullptr;
  ReleaseDC(dialog, view.windowContext);
  DestroyWindow(dialog);
  FreeDialogArt(view.art);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return outcome;
}

}  // namespace

ps::OSErr RunMainDialog(Globals& g) {
  Win32DialogWindow view;
  view.module = ModuleInstance();
  // The dialog's windows, and every chooser it opens, in our manifest's
  // activation context; released once the dialog has closed.
  view.styles = CreateVisualStyles(view.module);
  const ps::OSErr outcome = RunStyledDialog(g, view);
  ReleaseVisualStyles(view.styles);
  return outcome;
}

}  // namespace stellane
