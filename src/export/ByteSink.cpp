#include "export/ByteSink.h"

#include <cstring>

#include "params/FilePaths.h"

namespace stellane {

ByteSink MemorySink(std::vector<std::uint8_t>& memory) {
  ByteSink sink;
  sink.memory = &memory;
  return sink;
}

bool OpenFileSink(ByteSink& sink, const char* path) {
  sink = ByteSink{};
  if (path == nullptr || *path == '\0') return false;
  sink.path = path;
  sink.partPath = sink.path + ".part";
  sink.file = OpenFile(sink.partPath.c_str(), "wb");
  return sink.file != nullptr;
}

namespace {

// Flushes and closes the temporary file; false when a byte went missing.
bool FinishPart(ByteSink& sink) {
  if (sink.file == nullptr) return false;
  if (!sink.failed && !FlushFileToDisk(sink.file)) sink.failed = true;
  if (std::fclose(sink.file) != 0) sink.failed = true;
  sink.file = nullptr;
  if (sink.failed) RemoveFile(sink.partPath.c_str());
  return !sink.failed;
}

}  // namespace

bool CloseFileSink(ByteSink& sink) {
  if (!FinishPart(sink)) return false;
  if (RenameOver(sink.partPath.c_str(), sink.path.c_str())) return true;
  RemoveFile(sink.partPath.c_str());
  sink.failed = true;
  return false;
}

void DiscardFileSink(ByteSink& sink) {
  sink.failed = true;
  FinishPart(sink);
}

bool CloseFileSinkPending(ByteSink& sink, std::vector<PendingFile>& pending) {
  if (!FinishPart(sink)) return false;
  pending.push_back({sink.partPath, sink.path});
  return true;
}

bool CommitPendingFiles(std::vector<PendingFile>& pending) {
  bool ok = true;
  for (const PendingFile& file : pending) {
    if (ok && RenameOver(file.partPath.c_str(), file.path.c_str())) continue;
    ok = false;
    RemoveFile(file.partPath.c_str());
  }
  pending.clear();
  return ok;
}

void DiscardPendingFiles(std::vector<PendingFile>& pending) {
  for (const PendingFile& file : pending) RemoveFile(file.partPath.c_str());
  pending.clear();
}

void PutBytes(ByteSink& sink, const void* data, std::size_t size) {
  if (size == 0 || sink.failed) return;
  if (sink.memory != nullptr) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    sink.memory->insert(sink.memory->end(), bytes, bytes + size);
  } else if (sink.file == nullptr || std::fwrite(data, 1, size, sink.file) != size) {
    sink.failed = true;
    return;
  }
  sink.written += size;
}

void PutZeros(ByteSink& sink, std::size_t count) {
  static const std::uint8_t zeros[256] = {};
  while (count > 0) {
    const std::size_t n = count < sizeof zeros ? count : sizeof zeros;
    PutBytes(sink, zeros, n);
    count -= n;
  }
}

void PutText(ByteSink& sink, const char* text) { PutBytes(sink, text, std::strlen(text)); }

void PutU8(ByteSink& sink, std::uint32_t value) {
  const std::uint8_t b = static_cast<std::uint8_t>(value);
  PutBytes(sink, &b, 1);
}

void PutU16(ByteSink& sink, std::uint32_t value) {
  const std::uint8_t b[2] = {static_cast<std::uint8_t>(value >> 8),
                             static_cast<std::uint8_t>(value)};
  PutBytes(sink, b, 2);
}

void PutU32(ByteSink& sink, std::uint32_t value) {
  const std::uint8_t b[4] = {
      static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
      static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
  PutBytes(sink, b, 4);
}

}  // namespace stellane
