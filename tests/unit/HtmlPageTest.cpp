// The HTML pages: escaping, the presets page's refusals, the memory dots page
// (every dot that holds settings rendered with them at 300 pixels on the
// longer side, the current settings untouched). The presets page itself and
// its pictures are read back in exports_test.py.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../integration/RunRigs.h"
#include "ScratchTempFolder.h"
#include "export/HtmlEscape.h"
#include "export/HtmlPages.h"
#include "params/FilePaths.h"
#include "params/SettingsFile.h"
#include "params/TempFolder.h"

namespace stellane {
namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(HtmlEscape, TextAndUrls) {
  const struct {
    const char* in;
    const char* text;
    const char* url;
  } cases[] = {
      {"a&b", "a&amp;b", "a%26b"},
      {"\"<x>\"", "&quot;&lt;x&gt;&quot;", "%22%3cx%3e%22"},
      {"dot 1.jpg", "dot 1.jpg", "dot%201.jpg"},
      {"{|}~\x7f", "&#123;&#124;&#125;&#126;&#127;", "%7b%7c%7d%7e%7f"},
      {"\x80\x9f", "&#128;&#159;", "%80%9f"},
      {"\xa0\xa9\xd7\xe9\xf7\xff", "&nbsp;&copy;&times;&eacute;&divide;&yuml;",
       "%a0%a9%d7%e9%f7%ff"},
      // UTF-8 names as the characters' numbers: U+00E9, U+03A9, U+1F600;
      // an overlong or cut sequence is Latin-1 bytes.
      {"Caf\xc3\xa9", "Caf&#233;", "Caf%c3%a9"},
      {"\xce\xa9mega \xf0\x9f\x98\x80", "&#937;mega &#128512;", "%ce%a9mega%20%f0%9f%98%80"},
      {"\xc0\xaf\xe2\x82", "&Agrave;&macr;&acirc;&#130;", "%c0%af%e2%82"},
      {"\t!#-/_'", "\t!#-/_'", "%09%21%23%2d%2f%5f%27"},
      {"Az09", "Az09", "Az09"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EscapeHtmlText(c.in), c.text) << c.in;
    EXPECT_EQ(EscapeUrl(c.in), c.url) << c.in;
  }
}

TEST(HtmlPresetsPage, MissingFolderAndUncreatablePage) {
  ScratchTempFolder temp;
  std::filesystem::create_directories(temp.Folder() / "empty");
  EXPECT_EQ(WritePresetsPage((temp.Folder() / "nowhere").string().c_str(),
                             (temp.Folder() / "p.html").string().c_str()),
            kFolderNotRead);
  EXPECT_EQ(WritePresetsPage((temp.Folder() / "empty").string().c_str(),
                             (temp.Folder() / "no" / "p.html").string().c_str()),
            kPageNotCreated);
}

void SetDot(int dot, const RenderParams& params) {
  char path[kPathBytes];
  ASSERT_TRUE(MemoryDotFilePath(dot, path));
  ASSERT_EQ(WriteSettingsFile(path, params, nullptr), 0);
}

TEST(ExportHtml, DotsAreRenderedWithTheirOwnSettings) {
  ScratchTempFolder temp;
  testing::ExportRig rig(40, 20, 16);
  const auto page = temp.Folder() / "dots.html";
  RenderParams bright = rig.params;
  bright.density = 0;
  SetDot(2, bright);
  SetDot(7, rig.params);
  SetDot(0, rig.params);   // not a page dot
  SetDot(25, rig.params);  // the scratch slot, not a page dot
  rig.params.previewZoom = 2;
  rig.params.renderTarget = 0;
  const RenderParams before = rig.params;
  ASSERT_EQ(WriteMemoryDotsPage(rig.run, page.string().c_str()), 0);
  EXPECT_EQ(std::memcmp(&before, &rig.params, sizeof before), 0);

  const std::string html = ReadText(page);
  EXPECT_NE(html.find("<img src=\"web_images/dot%202.jpg\" alt=\"dot 2.jpg\" width=\"300\" "
                      "height=\"150\""),
            std::string::npos);
  EXPECT_NE(html.find("<b>dot 7</b>"), std::string::npos);
  EXPECT_EQ(html.find("dot 0"), std::string::npos);
  EXPECT_EQ(html.find("dot 25"), std::string::npos);
  EXPECT_EQ(Count(html, "<b></b>"), 2);  // four columns: two pictures and two empty cells

  EXPECT_TRUE(std::filesystem::exists(temp.Folder() / "web_images" / "dot 2.jpg"));
}

}  // namespace
}  // namespace stellane
