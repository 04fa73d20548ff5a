#include "params/FilePaths.h"

namespace stellane {

std::FILE* OpenFile(const char* path, const char* mode) { return std::fopen(path, mode); }

// Paths here are bytes, as the system takes them.
std::filesystem::path PathFromUtf8(const std::string& text) { return std::filesystem::path(text); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.native(); }

}  // namespace stellane
