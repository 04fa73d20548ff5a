// The plug-in module's own instance handle. Included only by *Win32.cpp
// files.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

namespace stellane {

// Taken from the address of our own code, so that it is right whichever host
// loaded us and under whatever file name.
inline HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&ModuleInstance), &module);
  return module;
}

}  // namespace stellane
