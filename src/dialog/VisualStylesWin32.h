// Visual styles for the dialog's windows: the activation context made from
// the module's own manifest. Included only by *Win32.cpp files.
#pragma once

// clang-format off
#include <windows.h>  // first: the other Win32 headers build on it
// clang-format on

namespace stellane {

// Made when the main dialog opens, released when it has closed. Without it
// (an older system, a missing resource: INVALID_HANDLE_VALUE) windows keep
// the classic look.
HANDLE CreateVisualStyles(HINSTANCE module);
void ReleaseVisualStyles(HANDLE styles);

// The context is active for the lifetime of a scope object: windows created
// and dialogs run inside it use Common Controls 6.
struct VisualStylesScope {
  explicit VisualStylesScope(HANDLE styles);
  ~VisualStylesScope();
  VisualStylesScope(const VisualStylesScope&) = delete;
  VisualStylesScope& operator=(const VisualStylesScope&) = delete;
  ULONG_PTR cookie = 0;
};

}  // namespace stellane
