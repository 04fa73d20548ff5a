#include <windows.h>

#include "params/FilePaths.h"

namespace stellane {

std::FILE* OpenFile(const char* path, const char* mode) {
  const std::wstring widePath = PathFromUtf8(path).wstring();
  wchar_t wideMode[8] = {};
  for (int i = 0; i < 7 && mode[i]; ++i) wideMode[i] = static_cast<wchar_t>(mode[i]);
  return _wfopen(widePath.c_str(), wideMode);
}

}  // namespace stellane
