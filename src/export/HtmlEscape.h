// Text and URL escaping for the HTML pages, on 8-bit ISO-8859-1 text.
#pragma once

#include <string>

namespace stellane {

// Captions and folder names: " & < > as entities, 123..159 as "&#nnn;",
// a well-formed UTF-8 sequence (how the file system names files) as the
// numeric reference of its character, any other byte 160..255 as the HTML
// 4.01 Latin-1 entity name; other bytes unchanged. The page stays
// ISO-8859-1 and shows every name as it is.
std::string EscapeHtmlText(const char* text);

// File names in "src": letters and digits unchanged, every other byte as
// "%xx" (lowercase hex), except the dot, which stays so that the extension
// reads as one.
std::string EscapeUrl(const char* name);

}  // namespace stellane
