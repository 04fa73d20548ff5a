// The resources of the built Stellane.8bf as a host sees them: the property
// list it scans before loading the module and the scripting terminology.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// The bytes hosts read: little-endian numbers, four-character codes stored
// as little-endian numbers (so "kind" lies in memory as "dnik"), and
// Pascal strings.
std::string Le(std::uint32_t v, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += char(v >> (8 * i));
  return out;
}
std::string Code(const std::string& c) { return {c.rbegin(), c.rend()}; }
std::string Pascal(const std::string& s) { return char(s.size()) + s; }

// A resource of the built module, loaded as data the way hosts scan it;
// empty when the module or the resource is missing.
std::string Resource(LPCSTR name, LPCSTR type) {
  static const HMODULE module = LoadLibraryExA(
      STELLANE_PLUGIN_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC info = FindResourceA(module, name, type);
  if (!info) return {};
  return std::string(static_cast<const char*>(LockResource(LoadResource(module, info))),
                     SizeofResource(module, info));
}

// Read as a host that trusts the stored lengths reads it.
TEST(ModuleResources, PropertyListHoldsTheNinePropertiesInTheWindowsLayout) {
  const std::string raw = Resource(MAKEINTRESOURCEA(16000), "PIPL");
  ASSERT_FALSE(raw.empty()) << STELLANE_PLUGIN_PATH;
  using namespace std::string_literals;
  const struct {
    const char* key;
    std::string data;
  } expected[] = {
      {"dnik", "MFB8"s},
      {"eman", "\x0bStellane...\0\0\0\0"s},
      {"gtac", "\x09Quillwork\0\0"s},
      {"srev", "\0\0\4\0"s},
      {"4668", "PluginMain\0\0"s},
      {"mtsh", "\0\0\0\0bnrZbnrZ\x80>Quillwork Stellane\0\0\0\0"s},
      {"edom", "P\0\0\0"s},
      {"lbne", "in (PSHOP_ImageMode, RGBMode, GrayScaleMode, RGB48Mode, Gray16Mode) \0\0\0\0"s},
      {"icif", "\1\1\1\0\1\1\1\0\1\1\1\0\1\1\3\0\1\1\3\0\1\1\3\0\1\1\3\0"s},
  };
  // Prefix 1, version 0, nine properties, each with vendor "8BIM", its key,
  // id 0 and its length; hosts that step by the stored length without
  // rounding land exactly on the end, so every length is a multiple of four.
  std::string want = Le(1, 2) + Le(0, 4) + Le(9, 4);
  for (const auto& e : expected)
    want += "MIB8" + std::string(e.key) + Le(0, 4) + Le(std::uint32_t(e.data.size()), 4) + e.data;
  EXPECT_EQ(raw, want);
}

// The 'AETE' terminology: one suite with one event, its 26 parameters
// and the enumeration of the glue modes.
TEST(ModuleResources, TerminologyNamesTheEventParametersAndGlueModes) {
  const std::string bytes = Resource(MAKEINTRESOURCEA(16000), "AETE");
  ASSERT_FALSE(bytes.empty()) << STELLANE_PLUGIN_PATH;
  // The Windows layout's leading word, version 1.1, language and script 0,
  // one suite (level 1, version 1) with one event.
  std::string want = Le(1, 2) + "\1\1" + Le(0, 4) + Le(1, 2) + Pascal("Quillwork") +
                     Pascal("Stellane") + Code("Zrnb") + Le(1, 2) + Le(1, 2) + Le(1, 2);
  // The event: name, description, class, id, reply, then the direct
  // parameter.
  want += Pascal("Stellane") + Pascal("Makes stars and nebulae") + Code("Zrnb") + Code("Zrnb") +
          Code("null") + Pascal("") + Le(0, 2) + Code("#ImR") + Pascal("") + Le(0xB000, 2);
  // Key, name and description of each parameter, in order.
  const char* params =
      "0001:color A1 red:color d red|0002:color A1 green:color d green|0003:color A1 blue:color d "
      "blue|0004:color A2 red:color e red|0005:color A2 green:color e green|0006:color A2 blue:"
      "color e blue|0007:A:unk1|0008:density:density|0009:brightness:brightness|0010:nebula scale:"
      "nebula scale|0011:texture:texture|0012:contrast:contrast|0013:star scale:star scale|0014:"
      "fibrousness:fibrousness|0015:depth:depth|GLUE:glue:glue|0017:opacity:opacity|0018:color:"
      "color|0019:random seed:random seed|0020:B:unk13|0021:color B2 red:color f red|0022:color B2 "
      "green:color f green|0023:color B2 blue:color f blue|0024:color B1 red:color g "
      "red|0025:color "
      "B1 green:color g green|0026:color B1 blue:color g blue|";
  want += Le(26, 2);
  for (std::string rest = params; !rest.empty(); rest.erase(0, rest.find('|') + 1)) {
    const std::string entry = rest.substr(0, rest.find('|')), key = entry.substr(0, 4);
    const std::size_t colon = entry.find(':', 5);
    const bool glue = key == "GLUE";
    want += Pascal(entry.substr(5, colon - 5)) + Code(key) + Code(glue ? "GLty" : "long") +
            Pascal(entry.substr(colon + 1)) + Le(glue ? 0xA000 : 0x8000, 2);
  }
  // No classes or comparison operators; one enumeration of 60 glue modes:
  // modes 60 and 61 have no entry, 62 closes the list.
  want += Le(0, 4) + Le(1, 2) + Code("GLty") + Le(60, 2);
  const char* glue =
      "normal|procedural +|procedural -|difference|lighten|darken|add|subtract|multiply|screen|"
      "hard light|overlay|superlay|exclusion|color|luminance|linear light|pin light|spin light|"
      "vivid a|vivid b|saturation|hue|similarity|cross|harsh diff|soft light|bright|dim|dodge|burn|"
      "ace|king|queen|jack|and|or|xor|multibright|hot|cold|wet|dry|up|down|wax|wane|north|south|"
      "east|west|hard mix|frontal|parietal|temporal|occipital|limbic|dextrous|sinister|";
  int mode = 1;
  for (std::string rest = std::string(glue) + "screendim|"; !rest.empty();
       rest.erase(0, rest.find('|') + 1), mode = mode == 59 ? 62 : mode + 1) {
    const std::string name = rest.substr(0, rest.find('|'));
    char code[5];
    std::snprintf(code, sizeof code, "GL%02d", mode);
    want += Pascal(name) + Code(code) + Pascal(name);
  }
  EXPECT_EQ(mode, 63);
  EXPECT_EQ(bytes, want);
}

}  // namespace
