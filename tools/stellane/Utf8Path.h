// Text in the command-line host is UTF-8 on every platform; these turn it
// into file-system paths and back without the ANSI code page on Windows.
#pragma once

#include <filesystem>
#include <string>

namespace cli {

inline std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace cli
