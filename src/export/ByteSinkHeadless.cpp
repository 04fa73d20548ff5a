#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "export/ByteSink.h"

namespace stellane {

bool FlushFileToDisk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

bool RenameOver(const char* from, const char* to) { return std::rename(from, to) == 0; }

// Keeps errno: the caller may still report why the write failed.
void RemoveFile(const char* path) {
  const int reason = errno;
  unlink(path);
  errno = reason;
}

}  // namespace stellane
