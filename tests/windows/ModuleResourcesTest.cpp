// The resources of the built Stellane.8bf as a host sees them: the property
// list it scans before loading the module, the version block and the dialog
// templates the module shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Property {
  std::string vendor, key;  // as the four characters read in memory order
  std::uint32_t id;
  std::uint32_t length;
  std::string data;
};

struct Pipl {
  std::uint16_t prefix = 0;
  std::uint32_t version = 0, count = 0;
  std::vector<Property> properties;
  std::size_t bytesWalked = 0, size = 0;
};

std::uint32_t Le32(const char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

class ModuleResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module = LoadLibraryExA(STELLANE_PLUGIN_PATH, nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  static void TearDownTestSuite() {
    if (module) FreeLibrary(module);
    module = nullptr;
  }

  static std::string Resource(LPCSTR name, LPCSTR type) {
    HRSRC info = FindResourceA(module, name, type);
    if (!info) return {};
    HGLOBAL loaded = LoadResource(module, info);
    return std::string(static_cast<const char*>(LockResource(loaded)),
                       SizeofResource(module, info));
  }

  // Walks the list as a host that trusts the stored lengths does.
  static Pipl ReadPipl() {
    Pipl pipl;
    const std::string raw = Resource(MAKEINTRESOURCEA(16000), "PIPL");
    pipl.size = raw.size();
    if (raw.size() < 10) return pipl;
    std::memcpy(&pipl.prefix, raw.data(), 2);
    pipl.version = Le32(raw.data() + 2);
    pipl.count = Le32(raw.data() + 6);
    std::size_t at = 10;
    for (std::uint32_t i = 0; i < pipl.count && at + 16 <= raw.size(); ++i) {
      Property p;
      p.vendor = raw.substr(at, 4);
      p.key = raw.substr(at + 4, 4);
      p.id = Le32(raw.data() + at + 8);
      p.length = Le32(raw.data() + at + 12);
      p.data = raw.substr(at + 16, p.length);
      at += 16 + p.length;
      pipl.properties.push_back(p);
    }
    pipl.bytesWalked = at;
    return pipl;
  }

  static HMODULE module;
};
HMODULE ModuleResources::module = nullptr;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

TEST_F(ModuleResources, PropertyListHoldsTheNinePropertiesInTheWindowsLayout) {
  ASSERT_NE(module, nullptr) << "cannot open " << STELLANE_PLUGIN_PATH;
  const Pipl pipl = ReadPipl();
  EXPECT_EQ(pipl.prefix, 1);
  EXPECT_EQ(pipl.version, 0u);
  ASSERT_EQ(pipl.count, 9u);
  ASSERT_EQ(pipl.properties.size(), 9u);
  // Hosts that step by the stored length without rounding land exactly on
  // the end: every length is already a multiple of four.
  EXPECT_EQ(pipl.bytesWalked, pipl.size);

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
  for (std::size_t i = 0; i < 9; ++i) {
    const Property& p = pipl.properties[i];
    SCOPED_TRACE(expected[i].key);
    EXPECT_EQ(p.vendor, "MIB8");
    EXPECT_EQ(p.key, expected[i].key);
    EXPECT_EQ(p.id, 0u);
    EXPECT_EQ(p.length % 4, 0u);
    EXPECT_EQ(p.data, expected[i].data);
  }
}

TEST_F(ModuleResources, VersionBlockNamesProductCompanyAndVersion) {
  char path[MAX_PATH];
  ASSERT_NE(GetFullPathNameA(STELLANE_PLUGIN_PATH, MAX_PATH, path, nullptr), 0u);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));

  auto value = [&](const char* name) {
    char* text = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
      return std::string();
    return std::string(text);
  };
  EXPECT_EQ(value("ProductName"), "Stellane");
  EXPECT_EQ(value("CompanyName"), "Quillwork");
  // The project version in CMakeLists.txt, as the build passes it on.
  EXPECT_EQ(value("ProductVersion"), STELLANE_VERSION);
  EXPECT_EQ(value("FileVersion"), STELLANE_VERSION);

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  const std::string fixedVersion = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                   std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                   std::to_string(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(fixedVersion, STELLANE_VERSION);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 0u);
}

TEST_F(ModuleResources, DialogTemplatesAndAboutArtworkArePresent) {
  ASSERT_NE(module, nullptr);
  for (const char* name : {"ABOUTBOX", "REFUSAL1", "REFUSAL2"})
    EXPECT_NE(FindResourceA(module, name, MAKEINTRESOURCEA(5)), nullptr) << name;  // RT_DIALOG
  for (const char* name : {"ABOUTSKY", "ABOUTMARK", "ABOUTRULE"})
    EXPECT_NE(FindResourceA(module, name, MAKEINTRESOURCEA(2)), nullptr) << name;  // RT_BITMAP
}

}  // namespace
