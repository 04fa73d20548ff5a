#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "export/ByteSink.h"
#include "params/FilePaths.h"

namespace stellane {

bool FlushFileToDisk(std::FILE* file) {
  return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

// rename() refuses an existing target on Windows.
bool RenameOver(const char* from, const char* to) {
  return MoveFileExW(PathFromUtf8(from).c_str(), PathFromUtf8(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// Keeps errno: the caller may still report why the write failed.
void RemoveFile(const char* path) {
  const int reason = errno;
  DeleteFileW(PathFromUtf8(path).c_str());
  errno = reason;
}

}  // namespace stellane
