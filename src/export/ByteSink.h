// Where the export writers put their bytes: a growing memory block (tests,
// sizes) or a file. A sink remembers its first failure, so a writer can emit
// a whole section and ask once whether every byte arrived.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace stellane {

struct ByteSink {
  std::vector<std::uint8_t>* memory = nullptr;  // set for a memory sink
  std::FILE* file = nullptr;                    // set for a file sink
  std::uint64_t written = 0;                    // bytes accepted so far
  bool failed = false;                          // a write did not complete
  std::string path;                             // a file sink's target
  std::string partPath;                         // where its bytes go until done
};

// A finished file waiting beside its target under a temporary name.
struct PendingFile {
  std::string partPath;
  std::string path;
};

ByteSink MemorySink(std::vector<std::uint8_t>& memory);

// A file sink writes "<path>.part" beside its target and puts it in the
// target's place only when every byte is on the disk, so that a failure or
// a cancel never leaves a half file nor removes the file that was there.
// False when the temporary file cannot be created.
bool OpenFileSink(ByteSink& sink, const char* path);
// Flushes the file to the disk and renames it over its target; false (and
// the target untouched) when anything failed on the way.
bool CloseFileSink(ByteSink& sink);
// Closes and removes the temporary file; the target is untouched.
void DiscardFileSink(ByteSink& sink);
// As CloseFileSink, but the finished file waits in `pending` for
// CommitPendingFiles, so that a group of files is put in place together.
bool CloseFileSinkPending(ByteSink& sink, std::vector<PendingFile>& pending);
// Renames every pending file over its target (false when one fails), or
// removes them all; `pending` is empty afterwards.
bool CommitPendingFiles(std::vector<PendingFile>& pending);
void DiscardPendingFiles(std::vector<PendingFile>& pending);

// The platform's part: the bytes written to `file` forced to the disk; a
// file renamed over another, replacing it in one step; a file removed.
bool FlushFileToDisk(std::FILE* file);
bool RenameOver(const char* from, const char* to);
void RemoveFile(const char* path);

void PutBytes(ByteSink& sink, const void* data, std::size_t size);
void PutZeros(ByteSink& sink, std::size_t count);
void PutText(ByteSink& sink, const char* text);  // without its terminating zero
void PutU8(ByteSink& sink, std::uint32_t value);
void PutU16(ByteSink& sink, std::uint32_t value);  // big-endian
void PutU32(ByteSink& sink, std::uint32_t value);  // big-endian

}  // namespace stellane
