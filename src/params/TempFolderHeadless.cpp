// The temporary folder outside Windows: TMPDIR, or /tmp.
#include <cstdlib>
#include <cstring>

#include "params/TempFolder.h"

namespace stellane {

void GetTempFolder(char (&folder)[kPathBytes]) {
  const char* dir = std::getenv("TMPDIR");
  if (!dir || !*dir || std::strlen(dir) + 2 > sizeof folder) dir = "/tmp";
  std::strcpy(folder, dir);
  const std::size_t length = std::strlen(folder);
  if (folder[length - 1] != '/') std::strcat(folder, "/");
}

}  // namespace stellane
