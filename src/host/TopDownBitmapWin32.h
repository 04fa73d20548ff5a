// The one kind of device-independent bitmap the plug-in and its test host
// draw and read: 32-bit pixels 0x00RRGGBB, rows from the top. Included only
// by *Win32.cpp files.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

namespace stellane {

inline BITMAPINFO TopDownBitmapInfo(LONG width, LONG height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace stellane
