#include "params/DotDirectory.h"

#include <cstdio>

#include "params/FilePaths.h"
#include "params/SettingsFile.h"

namespace stellane {

namespace {

constexpr std::size_t kDirectoryBytes = 4 * (1 + kMemoryDotCount);

}  // namespace

int ReadDotDirectoryFile(const char* path, DotPins& pins) {
  std::FILE* file = path ? OpenFile(path, "rb") : nullptr;
  if (!file) return kFileNotOpened;
  std::uint8_t bytes[kDirectoryBytes];
  const std::size_t size = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  for (int dot = 0; dot < kMemoryDotCount; ++dot) {
    const std::size_t at = 4 * std::size_t(dot + 1);
    if (at + 4 > size) break;
    const bool set = bytes[at] | bytes[at + 1] | bytes[at + 2] | bytes[at + 3];
    pins.pinned[dot] = set ? 1 : 0;
  }
  return 0;
}

int WriteDotDirectoryFile(const char* path, const DotPins& pins) {
  std::FILE* file = path ? OpenFile(path, "r+b") : nullptr;
  if (!file && path) file = OpenFile(path, "wb");
  if (!file) return kFileNotOpened;
  std::uint8_t bytes[kDirectoryBytes] = {};
  bytes[3] = std::uint8_t(kSettingsVersion);
  for (int dot = 0; dot < kMemoryDotCount; ++dot)
    bytes[4 * (dot + 1) + 3] = pins.pinned[dot] ? 1 : 0;
  const bool written = std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
  return std::fclose(file) == 0 && written ? 0 : kFileNotWritten;
}

}  // namespace stellane
