// The look shared by the About box and the info box: a white client area,
// with their static texts drawn straight onto it. Included only by
// *Win32.cpp files.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

namespace stellane {

// Answers WM_ERASEBKGND: the whole client area white.
inline INT_PTR EraseWhite(HWND box, WPARAM deviceContext) {
  RECT client;
  GetClientRect(box, &client);
  FillRect(reinterpret_cast<HDC>(deviceContext), &client,
           static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  return TRUE;
}

// Answers WM_CTLCOLORDLG and WM_CTLCOLORSTATIC: texts on white, not on the
// dialog grey.
inline INT_PTR WhiteUnderText(WPARAM deviceContext) {
  SetBkMode(reinterpret_cast<HDC>(deviceContext), TRANSPARENT);
  return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
}

}  // namespace stellane
