// The temporary folder on Windows: the system's, or the Windows folder's
// Temp when the system can't say.
#include <windows.h>

#include <cstring>

#include "params/TempFolder.h"

namespace stellane {

void GetTempFolder(char (&folder)[kPathBytes]) {
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) {
    std::strcpy(folder, "C:\\Windows\\Temp\\");
    return;
  }
  if (folder[length - 1] != '\\' && folder[length - 1] != '/') {
    if (length + 1 >= sizeof folder) {
      std::strcpy(folder, "C:\\Windows\\Temp\\");
      return;
    }
    folder[length] = '\\';
    folder[length + 1] = '\0';
  }
}

}  // namespace stellane
