#include <windows.h>

#include "params/FilePaths.h"

namespace stellane {

namespace {

bool Widen(UINT codePage, DWORD flags, const std::string& text, std::wstring& wide) {
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide.resize(static_cast<std::size_t>(length));
  return MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length) == length;
}

}  // namespace

// The standard library's own conversion throws on a sequence that is not
// UTF-8, and nothing may throw out of the plug-in.
std::filesystem::path PathFromUtf8(const std::string& text) {
  std::wstring wide;
  if (text.empty() || Widen(CP_UTF8, MB_ERR_INVALID_CHARS, text, wide) ||
      Widen(CP_ACP, MB_ERR_INVALID_CHARS, text, wide) || Widen(CP_UTF8, 0, text, wide))
    return std::filesystem::path(wide);
  return {};
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

std::FILE* OpenFile(const char* path, const char* mode) {
  const std::wstring widePath = PathFromUtf8(path).wstring();
  wchar_t wideMode[8] = {};
  for (int i = 0; i < 7 && mode[i]; ++i) wideMode[i] = static_cast<wchar_t>(mode[i]);
  return _wfopen(widePath.c_str(), wideMode);
}

}  // namespace stellane
