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

// Neither conversion throws. A name that is not UTF-8 (one kept by an
// earlier 8-bit build in the host's parameters or a settings file) is read
// in the ANSI code page on Windows, as that build wrote it.
std::filesystem::path PathFromUtf8(const std::string& text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace stellane
