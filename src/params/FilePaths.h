// Paths inside the plug-in are UTF-8 text on every platform, so that names
// in any script survive (the ANSI code page of Windows holds only a few).
// These are the only ways the core opens files and builds paths.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace stellane {

// fopen on a UTF-8 path (the wide-character API on Windows).
std::FILE* OpenFile(const char* path, const char* mode);

inline std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace stellane
