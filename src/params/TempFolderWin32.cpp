// The temporary folder on Windows: the system's, or the Windows folder's
// Temp when the system can't say.
#include <windows.h>

#include <cstring>

#include "params/TempFolder.h"

namespace stellane {

// The folder is asked for in wide characters and kept as UTF-8, so that a
// user name outside the ANSI code page does not lose the cached settings.
void GetTempFolder(char (&folder)[kPathBytes]) {
  wchar_t wide[MAX_PATH + 1] = {};
  const DWORD wideLength = GetTempPathW(MAX_PATH + 1, wide);
  const int length =
      wideLength == 0 || wideLength > MAX_PATH
          ? 0
          : WideCharToMultiByte(CP_UTF8, 0, wide, -1, folder, sizeof folder, nullptr, nullptr) - 1;
  if (length <= 0 || length >= int(sizeof folder)) {
    std::strcpy(folder, "C:\\Windows\\Temp\\");
    return;
  }
  if (folder[length - 1] != '\\' && folder[length - 1] != '/') {
    if (length + 1 >= int(sizeof folder)) {
      std::strcpy(folder, "C:\\Windows\\Temp\\");
      return;
    }
    folder[length] = '\\';
    folder[length + 1] = '\0';
  }
}

}  // namespace stellane
