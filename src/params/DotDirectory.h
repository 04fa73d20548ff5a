// The memory dots' pinned flags, kept between runs in "Stellane directory 2":
// the item 50, then one item per dot, 0 or 1.
#pragma once

#include <cstdint>

#include "params/TempFolder.h"

namespace stellane {

struct DotPins {
  std::int32_t pinned[kMemoryDotCount];
};

// Reads the flags (the first item is passed over); flags past the end of a
// short file keep their values, any non-zero item reads as 1. Returns 0, or
// 99 when the file can't be opened (then nothing changes).
int ReadDotDirectoryFile(const char* path, DotPins& pins);
// Writes the item 50 and the 25 flags: 0, kFileNotOpened or kFileNotWritten.
int WriteDotDirectoryFile(const char* path, const DotPins& pins);

}  // namespace stellane
