#include "stellane/DescriptorText.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "host/PluginApi.h"
#include "params/EnumCodes.h"
#include "stellane/CliError.h"

namespace cli {

namespace {

constexpr const char* kHeader = "stellane-descriptor 1";

std::string CodeText(std::uint32_t code) {
  std::string text(4, ' ');
  for (int i = 0; i < 4; ++i) text[i] = char((code >> (24 - 8 * i)) & 0xff);
  return text;
}

// `text` for a message: quoted, and cut short when it is long.
std::string Quoted(const std::string& text) {
  constexpr std::size_t kShown = 40;
  return "\"" + (text.size() <= kShown ? text : text.substr(0, kShown) + "...") + "\"";
}

bool TextCode(const std::string& text, std::uint32_t& code) {
  if (text.size() != 4) return false;
  code = 0;
  for (char c : text) code = code << 8 | static_cast<unsigned char>(c);
  return true;
}

}  // namespace

std::string FormatDescriptorText(const testhost::Descriptor& descriptor) {
  std::ostringstream out;
  out << kHeader << "\n";
  for (const testhost::DescriptorItem& item : descriptor) {
    if (item.type == ps::typeEnumerated)
      out << CodeText(item.key) << " enum " << CodeText(item.enumType) << " "
          << CodeText(item.enumValue) << "\n";
    else
      out << CodeText(item.key) << " long " << item.integer << "\n";
  }
  return out.str();
}

testhost::Descriptor ParseDescriptorText(const std::string& text, const std::string& source) {
  std::istringstream in(text);
  std::string line;
  int number = 0;
  bool headerSeen = false;
  testhost::Descriptor descriptor;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    auto bad = [&](const std::string& why) {
      Fail(source + ":" + std::to_string(number) + ": " + why);
    };
    if (!headerSeen) {
      if (line != kHeader)
        bad("not a stellane descriptor (expected \"" + std::string(kHeader) + "\")");
      headerSeen = true;
      continue;
    }
    std::istringstream fields(line);
    std::string key, type, a, b, extra;
    fields >> key >> type >> a >> b >> extra;
    std::uint32_t keyCode = 0;
    if (!TextCode(key, keyCode)) bad("a key is four characters, got " + Quoted(key));
    // The glue mode is an enumerated item of the plug-in's own type, as the
    // command line's --glue is a mode it knows; anything else is refused
    // here rather than played back as "normal".
    const bool glue = keyCode == ps::FourCC("GLUE");
    if (type == "long") {
      if (!b.empty()) bad("a long item is KEY long NUMBER");
      if (glue) bad("GLUE is an enum item: GLUE enum GLty GL01 to GL62");
      errno = 0;
      char* end = nullptr;
      const long long v = std::strtoll(a.c_str(), &end, 10);
      if (a.empty() || *end != '\0' || errno != 0 || v < INT32_MIN || v > INT32_MAX)
        bad("expected a 32-bit whole number, got " + Quoted(a));
      descriptor.push_back(testhost::IntegerItem(keyCode, std::int32_t(v)));
    } else if (type == "enum") {
      std::uint32_t enumType = 0, enumValue = 0;
      if (!extra.empty() || !TextCode(a, enumType) || !TextCode(b, enumValue))
        bad("an enum item is KEY enum TYPE VALUE, four characters each");
      std::int32_t mode = 0;
      if (glue && (enumType != stellane::kGlueEnumType ||
                   !stellane::EnumCodeToIndex(enumType, enumValue, mode)))
        bad("unknown glue mode " + Quoted(a + " " + b) + " (GLty GL01 to GL62)");
      descriptor.push_back(testhost::EnumeratedItem(keyCode, enumType, enumValue));
    } else {
      bad("unknown item type " + Quoted(type) + " (long or enum)");
    }
  }
  if (!headerSeen) Fail(source + ": empty, not a stellane descriptor");
  return descriptor;
}

}  // namespace cli
