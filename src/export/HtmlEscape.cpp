#include "export/HtmlEscape.h"

#include <cstdint>
#include <cstdio>

namespace stellane {

namespace {

// HTML 4.01 names of ISO-8859-1 characters 160..255.
constexpr const char* kLatin1Entities[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

bool IsAsciiAlnum(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The character of the well-formed UTF-8 sequence of two to four bytes at
// `p`, and its length; 0 when there is none (a lone Latin-1 byte).
int Utf8Sequence(const unsigned char* p, std::uint32_t& character) {
  int length = 0;
  std::uint32_t minimum = 0;
  if (p[0] >= 0xc2 && p[0] <= 0xdf) {
    length = 2, minimum = 0x80, character = p[0] & 0x1fu;
  } else if (p[0] >= 0xe0 && p[0] <= 0xef) {
    length = 3, minimum = 0x800, character = p[0] & 0x0fu;
  } else if (p[0] >= 0xf0 && p[0] <= 0xf4) {
    length = 4, minimum = 0x10000, character = p[0] & 0x07u;
  } else {
    return 0;
  }
  for (int i = 1; i < length; ++i) {
    if ((p[i] & 0xc0) != 0x80) return 0;  // also stops at the terminating zero
    character = character << 6 | (p[i] & 0x3fu);
  }
  const bool surrogate = character >= 0xd800 && character <= 0xdfff;
  return character < minimum || character > 0x10ffff || surrogate ? 0 : length;
}

}  // namespace

std::string EscapeHtmlText(const char* text) {
  std::string out;
  if (text == nullptr) return out;
  for (const char* p = text; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    switch (c) {
      case 34:
        out += "&quot;";
        continue;
      case 38:
        out += "&amp;";
        continue;
      case 60:
        out += "&lt;";
        continue;
      case 62:
        out += "&gt;";
        continue;
      default:
        break;
    }
    std::uint32_t character = 0;
    if (const int length = Utf8Sequence(reinterpret_cast<const unsigned char*>(p), character)) {
      out += "&#" + std::to_string(character) + ";";
      p += length - 1;
    } else if (c >= 123 && c <= 159) {
      char entity[8];
      std::snprintf(entity, sizeof entity, "&#%03d;", c);
      out += entity;
    } else if (c >= 160) {
      out += '&';
      out += kLatin1Entities[c - 160];
      out += ';';
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string EscapeUrl(const char* name) {
  std::string out;
  if (name == nullptr) return out;
  for (const char* p = name; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (IsAsciiAlnum(c) || c == '.') {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02x", c);
      out += hex;
    }
  }
  return out;
}

}  // namespace stellane
