// Moving the plug-in's windows where they belong without losing them off
// screen. Included only by *Win32.cpp files.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

namespace stellane {

// Moves `window` (keeping its size) to (x, y), pulled inside the work area
// of the monitor it lands on.
inline void MoveOntoScreen(HWND window, LONG x, LONG y) {
  RECT own;
  if (!GetWindowRect(window, &own)) return;
  const LONG width = own.right - own.left;
  const LONG height = own.bottom - own.top;
  RECT placed = {x, y, x + width, y + height};
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromRect(&placed, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    if (x + width > work.right) x = work.right - width;
    if (y + height > work.bottom) y = work.bottom - height;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
  }
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace stellane
