#include "export/ByteSink.h"

#include <cstring>

namespace stellane {

ByteSink MemorySink(std::vector<std::uint8_t>& memory) {
  return ByteSink{&memory, nullptr, 0, false};
}

bool OpenFileSink(ByteSink& sink, const char* path) {
  sink = ByteSink{nullptr, nullptr, 0, false};
  if (path == nullptr || *path == '\0') return false;
  sink.file = std::fopen(path, "wb");
  return sink.file != nullptr;
}

bool CloseFileSink(ByteSink& sink) {
  if (sink.file == nullptr) return false;
  if (std::fflush(sink.file) != 0) sink.failed = true;
  if (std::fclose(sink.file) != 0) sink.failed = true;
  sink.file = nullptr;
  return !sink.failed;
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
