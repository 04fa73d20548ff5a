#include "export/HtmlEscape.h"

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
    if (c >= 123 && c <= 159) {
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
