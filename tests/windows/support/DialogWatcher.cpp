#include "DialogWatcher.h"

#include <windows.h>

namespace wintest {

namespace {

std::vector<SeenDialog> seen;
UINT_PTR timer = 0;
void (*seenListener)(const SeenDialog&) = nullptr;

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* dialog = reinterpret_cast<SeenDialog*>(param);
  char text[512] = {};
  GetWindowTextA(child, text, sizeof text);
  dialog->texts.emplace_back(text);
  return TRUE;
}

BOOL CALLBACK CloseIfDialog(HWND window, LPARAM) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
  // Each dialog is recorded once: the close may take a few timer ticks.
  if (GetPropA(window, "WintestSeen") == nullptr) {
    SetPropA(window, "WintestSeen", reinterpret_cast<HANDLE>(1));
    SeenDialog dialog;
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    dialog.title = title;
    RECT rect;
    GetWindowRect(window, &rect);
    dialog.left = rect.left, dialog.top = rect.top;
    dialog.right = rect.right, dialog.bottom = rect.bottom;
    dialog.owner = GetWindow(window, GW_OWNER);
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&dialog));
    if (seenListener) seenListener(dialog);
    seen.push_back(std::move(dialog));
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

// A thread timer: its WM_TIMER is dispatched by whatever message loop runs,
// including the modal loop of DialogBox.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), CloseIfDialog, 0);
}

}  // namespace

void WatchDialogs() {
  if (timer == 0) timer = SetTimer(nullptr, 0, 20, Tick);
}

void OnDialogSeen(void (*listener)(const SeenDialog&)) { seenListener = listener; }

std::vector<SeenDialog> TakeSeenDialogs() {
  std::vector<SeenDialog> result;
  result.swap(seen);
  return result;
}

}  // namespace wintest
