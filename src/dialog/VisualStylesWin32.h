// Visual styles for the dialog's windows: the activation context made from
// the module's own manifest. Included only by *Win32.cpp files.
#pragma once

// clang-format off
#include <windows.h>  // first: the other Win32 headers build on it
// clang-format on

namespace stellane {

// Made when the main dialog opens, released when it has closed. Without it
// (an older system, a missing resource) windows keep the classic look.
void CreateVisualStyles(HINSTANCE module);
void ReleaseVisualStyles();

// The context is active for the lifetime of a scope object: windows created
// and dialogs run inside it use Common Controls 6.
struct VisualStylesScope {
  VisualStylesScope();
  ~VisualStylesScope();
  VisualStylesScope(const VisualStylesScope&) = delete;
  VisualStylesScope& operator=(const VisualStylesScope&) = delete;
  ULONG_PTR cookie = 0;
};

}  // namespace stellane
