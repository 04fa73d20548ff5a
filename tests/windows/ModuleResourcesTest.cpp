// The resources of the built Stellane.8bf as a host sees them: the property
// list it scans before loading the module and the scripting terminology.
// (The version block is read in the packaging test, the dialogs where the
// module shows them.)
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// A bounds-checked reader over a resource's bytes; numbers are little-endian.
struct Reader {
  const std::string& data;
  std::size_t pos = 0;
  bool overrun = false;

  std::string Take(std::size_t n) {
    if (data.size() - pos < n) {
      overrun = true;
      pos = data.size();
      return {};
    }
    pos += n;
    return std::string(data.begin() + std::ptrdiff_t(pos - n), data.begin() + std::ptrdiff_t(pos));
  }
  std::uint32_t Number(std::size_t bytes) {
    const std::string s = Take(bytes);
    std::uint32_t v = 0;
    for (auto c = s.rbegin(); c != s.rend(); ++c) v = v << 8 | std::uint8_t(*c);
    return v;
  }
  std::uint32_t Word() { return Number(2); }
  std::uint32_t Byte() { return Number(1); }
  // A four-character code, stored as a little-endian number.
  std::string Code() {
    const std::string s = Take(4);
    return {s.rbegin(), s.rend()};
  }
  std::string Pascal() { return Take(Byte()); }
};

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

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

// Read as a host that trusts the stored lengths reads it.
TEST(ModuleResources, PropertyListHoldsTheNinePropertiesInTheWindowsLayout) {
  const std::string raw = Resource(MAKEINTRESOURCEA(16000), "PIPL");
  ASSERT_FALSE(raw.empty()) << STELLANE_PLUGIN_PATH;
  Reader r{raw};
  EXPECT_EQ(r.Word(), 1u);     // prefix
  EXPECT_EQ(r.Number(4), 0u);  // version
  ASSERT_EQ(r.Number(4), 9u);  // properties
  using namespace std::string_literals;
  // Four-char codes are little-endian numbers, so "kind" reads "dnik".
  const struct {
    const char* key;
    std::string data;
  } expected[] = {
      {"dnik", "MFB8"s},
      {"eman", "\x0bStellane...\0\0\0\0"s},
      {"gtac", "\x09Quillwork\0\0"s},
      {"srev", Bytes({0x00, 0x00, 0x04, 0x00})},
      {"4668", "PluginMain\0\0"s},
      {"mtsh", "\0\0\0\0bnrZbnrZ"s + Bytes({0x80, 0x3e}) + "Quillwork Stellane\0\0\0\0"s},
      {"edom", Bytes({0x50, 0x00, 0x00, 0x00})},
      {"lbne", "in (PSHOP_ImageMode, RGBMode, GrayScaleMode, RGB48Mode, Gray16Mode) \0\0\0\0"s},
      {"icif",
       Bytes({1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 3, 0, 1, 1, 3, 0, 1, 1, 3, 0, 1, 1, 3, 0})},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.key);
    EXPECT_EQ(r.Take(4), "MIB8");  // vendor and key as the characters lie in memory
    EXPECT_EQ(r.Take(4), e.key);
    EXPECT_EQ(r.Number(4), 0u);  // id
    const std::uint32_t length = r.Number(4);
    EXPECT_EQ(length % 4, 0u);
    EXPECT_EQ(r.Take(length), e.data);
  }
  // Hosts that step by the stored length without rounding land exactly on
  // the end: every length is already a multiple of four.
  EXPECT_FALSE(r.overrun);
  EXPECT_EQ(r.pos, raw.size());
}

// The 'AETE' terminology, parsed field by field.
TEST(ModuleResources, TerminologyNamesTheEventParametersAndGlueModes) {
  const std::string bytes = Resource(MAKEINTRESOURCEA(16000), "AETE");
  ASSERT_FALSE(bytes.empty()) << STELLANE_PLUGIN_PATH;
  Reader r{bytes};
  EXPECT_EQ(r.Word(), 1u);  // the Windows layout's leading word
  EXPECT_EQ(r.Byte(), 1u);  // version 1.1
  EXPECT_EQ(r.Byte(), 1u);
  EXPECT_EQ(r.Word(), 0u);  // language
  EXPECT_EQ(r.Word(), 0u);  // script
  ASSERT_EQ(r.Word(), 1u);  // suites

  EXPECT_EQ(r.Pascal(), "Quillwork");
  EXPECT_EQ(r.Pascal(), "Stellane");
  EXPECT_EQ(r.Code(), "Zrnb");
  EXPECT_EQ(r.Word(), 1u);  // level
  EXPECT_EQ(r.Word(), 1u);  // version
  ASSERT_EQ(r.Word(), 1u);  // events

  EXPECT_EQ(r.Pascal(), "Stellane");
  EXPECT_EQ(r.Pascal(), "Makes stars and nebulae");
  EXPECT_EQ(r.Code(), "Zrnb");  // class
  EXPECT_EQ(r.Code(), "Zrnb");  // id
  EXPECT_EQ(r.Code(), "null");  // reply
  EXPECT_EQ(r.Pascal(), "");
  EXPECT_EQ(r.Word(), 0u);
  EXPECT_EQ(r.Code(), "#ImR");  // direct parameter
  EXPECT_EQ(r.Pascal(), "");
  EXPECT_EQ(r.Word(), 0xB000u);

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
  ASSERT_EQ(r.Word(), 26u);
  for (std::string rest = params; !rest.empty(); rest.erase(0, rest.find('|') + 1)) {
    const std::string entry = rest.substr(0, rest.find('|'));
    const std::string key = entry.substr(0, 4);
    const std::size_t colon = entry.find(':', 5);
    EXPECT_EQ(r.Pascal(), entry.substr(5, colon - 5)) << key;
    EXPECT_EQ(r.Code(), key);
    EXPECT_EQ(r.Code(), key == "GLUE" ? "GLty" : "long") << key;
    EXPECT_EQ(r.Pascal(), entry.substr(colon + 1)) << key;
    EXPECT_EQ(r.Word(), key == "GLUE" ? 0xA000u : 0x8000u) << key;
  }
  EXPECT_EQ(r.Word(), 0u);  // classes
  EXPECT_EQ(r.Word(), 0u);  // comparison operators
  ASSERT_EQ(r.Word(), 1u);  // enumerations
  EXPECT_EQ(r.Code(), "GLty");
  // Modes 60 and 61 have no entry; 62 closes the list.
  const char* glue =
      "normal|procedural +|procedural -|difference|lighten|darken|add|subtract|multiply|screen|"
      "hard light|overlay|superlay|exclusion|color|luminance|linear light|pin light|spin light|"
      "vivid a|vivid b|saturation|hue|similarity|cross|harsh diff|soft light|bright|dim|dodge|burn|"
      "ace|king|queen|jack|and|or|xor|multibright|hot|cold|wet|dry|up|down|wax|wane|north|south|"
      "east|west|hard mix|frontal|parietal|temporal|occipital|limbic|dextrous|sinister|";
  ASSERT_EQ(r.Word(), 60u);
  int mode = 1;
  for (std::string rest = std::string(glue) + "screendim|"; !rest.empty();
       rest.erase(0, rest.find('|') + 1), mode = mode == 59 ? 62 : mode + 1) {
    const std::string name = rest.substr(0, rest.find('|'));
    char code[5];
    std::snprintf(code, sizeof code, "GL%02d", mode);
    EXPECT_EQ(r.Pascal(), name) << code;
    EXPECT_EQ(r.Code(), code);
    EXPECT_EQ(r.Pascal(), name) << code;
  }
  EXPECT_EQ(mode, 63);

  EXPECT_FALSE(r.overrun);
  EXPECT_EQ(r.pos, bytes.size());
}

}  // namespace
