// Where the export writers put their bytes: a growing memory block (tests,
// sizes) or a file. A sink remembers its first failure, so a writer can emit
// a whole section and ask once whether every byte arrived.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace stellane {

struct ByteSink {
  std::vector<std::uint8_t>* memory;  // set for a memory sink
  std::FILE* file;                    // set for a file sink
  std::uint64_t written;              // bytes accepted so far
  bool failed;                        // a write did not complete
};

ByteSink MemorySink(std::vector<std::uint8_t>& memory);
// Creates (or replaces) the file; false when it cannot be created.
bool OpenFileSink(ByteSink& sink, const char* path);
// Flushes and closes a file sink; false when anything failed on the way.
bool CloseFileSink(ByteSink& sink);

void PutBytes(ByteSink& sink, const void* data, std::size_t size);
void PutZeros(ByteSink& sink, std::size_t count);
void PutText(ByteSink& sink, const char* text);  // without its terminating zero
void PutU8(ByteSink& sink, std::uint32_t value);
void PutU16(ByteSink& sink, std::uint32_t value);  // big-endian
void PutU32(ByteSink& sink, std::uint32_t value);  // big-endian

}  // namespace stellane
