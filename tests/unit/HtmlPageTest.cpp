// The HTML pages: escaping, the presets page of a folder with its rows and
// empty cells, the memory dots page (every dot that holds settings rendered
// with them at 300 pixels on the longer side, the current settings
// untouched), and the frame GIFs, which ImageMagick must decode.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../integration/RunRigs.h"
#include "ScratchTempFolder.h"
#include "export/FrameGifs.h"
#include "export/HtmlEscape.h"
#include "export/HtmlPages.h"
#include "image/JpegCodec.h"
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

// A settings file with a thumbnail whose colour tells the files apart.
void WritePreset(const std::filesystem::path& path, std::uint8_t red) {
  TiledImage thumbnail;
  InitTiledImage(thumbnail);
  ASSERT_TRUE(CreateTiledImage(thumbnail, kThumbnailSide, kThumbnailSide, 3));
  for (int y = 0; y < kThumbnailSide; ++y)
    for (int x = 0; x < kThumbnailSide; ++x)
      WritePacked(thumbnail, x, y, 0, PackChannels(red, 40, 200, 255));
  RenderParams params{};
  InitNewRenderParams(params);
  EXPECT_EQ(WriteSettingsFile(Utf8FromPath(path).c_str(), params, &thumbnail), 0);
  ReleaseTiledImage(thumbnail);
}

TEST(HtmlPresetsPage, SevenPresetsFillARowAndAHalf) {
  ScratchTempFolder temp;
  const auto folder = temp.Folder() / "presets";
  std::filesystem::create_directories(folder / "sub.q9r");  // a folder, not a preset
  const char* names[] = {"one", "two", "three", "four", "five", "six", "a&b"};
  for (int i = 0; i < 7; ++i)
    WritePreset(folder / (std::string(names[i]) + ".q9r"), std::uint8_t(30 * i));
  std::ofstream(folder / "notes.txt") << "not a preset";
  const auto page = temp.Folder() / "site" / "page.html";
  std::filesystem::create_directories(page.parent_path());

  ASSERT_EQ(WritePresetsPage(folder.string().c_str(), page.string().c_str()), 0);
  const std::string html = ReadText(page);
  EXPECT_NE(html.find("<b>Stellane presets from presets<br>"), std::string::npos);
  EXPECT_EQ(html.substr(html.size() - 36), "</table>\r\n<br>\r\n\r\n</body>\r\n</html>\r\n");

  // Two picture rows, each followed by its spacer row: 5 + (2 + 3 empty).
  EXPECT_EQ(Count(html, "<table id=\"Table_01\" width=\"94\""), 7);
  EXPECT_EQ(Count(html, "height=\"95\">"), 7);
  EXPECT_EQ(Count(html, "<b></b>"), 3);
  EXPECT_EQ(Count(html, "<p>&nbsp;</p></td>"), 10);
  EXPECT_EQ(Count(html, "<tr>\r\n<td align=\"center\" valign=\"top\" width=\"20%\">\r\n<table"), 2);
  EXPECT_EQ(Count(html, "<b>notes"), 0);
  EXPECT_EQ(Count(html, "sub"), 0);

  // The escaped name: caption as text, picture as URL.
  EXPECT_NE(html.find("<b>a&amp;b</b>"), std::string::npos);
  EXPECT_NE(html.find("<img src=\"web_images/a%26b.jpg\" alt=\"a&amp;b.jpg\" width=\"88\" "
                      "height=\"88\" border=\"0\">"),
            std::string::npos);
  // The thumbnails are JPEGs of the stored 128 x 128 pictures.
  const auto images = page.parent_path() / "web_images";
  const std::string jpeg = ReadText(images / "a&b.jpg");
  TiledImage decoded;
  InitTiledImage(decoded);
  ASSERT_TRUE(
      DecompressJpeg(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size(), decoded));
  EXPECT_EQ(decoded.levels[0].width, 128);
  EXPECT_NEAR(int(PackedChannel(ReadPacked(decoded, 64, 64, 0), 0)), 180, 4);
  EXPECT_NEAR(int(PackedChannel(ReadPacked(decoded, 64, 64, 0), 2)), 200, 4);
  ReleaseTiledImage(decoded);
  for (const FramePiece& piece : kFramePieces) {
    EXPECT_TRUE(std::filesystem::exists(images / piece.fileName));
    EXPECT_NE(html.find(std::string("web_images/") + piece.fileName), std::string::npos);
  }
}

TEST(HtmlPresetsPage, BrokenPresetsEmptyAndMissingFolders) {
  ScratchTempFolder temp;
  const auto page = temp.Folder() / "page.html";
  // A preset without a readable thumbnail takes its place but shows nothing.
  std::filesystem::create_directories(temp.Folder() / "broken");
  std::ofstream(temp.Folder() / "broken" / "bad.q9r") << "xx";
  WritePreset(temp.Folder() / "broken" / "good.q9r", 10);
  ASSERT_EQ(WritePresetsPage((temp.Folder() / "broken").string().c_str(), page.string().c_str()),
            0);
  std::string html = ReadText(page);
  EXPECT_EQ(Count(html, "<table id=\"Table_01\""), 1);
  EXPECT_EQ(Count(html, "<b></b></font></p>"), 3);  // bad, good, then three empty
  EXPECT_NE(html.find("<tr>\r\n<td align"), std::string::npos);

  std::filesystem::create_directories(temp.Folder() / "empty");
  ASSERT_EQ(WritePresetsPage((temp.Folder() / "empty").string().c_str(), page.string().c_str()), 0);
  html = ReadText(page);
  EXPECT_NE(html.find("align=\"center\">\r\n</table>"), std::string::npos);

  EXPECT_EQ(WritePresetsPage((temp.Folder() / "nowhere").string().c_str(), page.string().c_str()),
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
  // No dot yet: the header and an empty table.
  const auto page = temp.Folder() / "dots.html";
  ASSERT_EQ(WriteMemoryDotsPage(rig.run, page.string().c_str()), 0);
  std::string html = ReadText(page);
  EXPECT_NE(html.find("<b>Stellane memory dots <br>"), std::string::npos);
  EXPECT_NE(html.find("align=\"center\">\r\n</table>\r\n<br>"), std::string::npos);
  EXPECT_EQ(html.find("<tr>"), std::string::npos);

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

  html = ReadText(page);
  EXPECT_NE(
      html.find(
          "<img src=\"web_images/dot%202.jpg\" alt=\"dot 2.jpg\" width=\"300\" height=\"150\""),
      std::string::npos);
  EXPECT_NE(html.find("<b>dot 7</b>"), std::string::npos);
  EXPECT_EQ(html.find("dot 0"), std::string::npos);
  EXPECT_EQ(html.find("dot 25"), std::string::npos);
  EXPECT_NE(
      html.find("width=\"306\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" height=\"157\">"),
      std::string::npos);
  EXPECT_EQ(Count(html, "<b></b>"), 2);  // four columns: two pictures and two empty cells

  const std::string jpeg = ReadText(temp.Folder() / "web_images" / "dot 2.jpg");
  TiledImage decoded;
  InitTiledImage(decoded);
  ASSERT_TRUE(
      DecompressJpeg(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size(), decoded));
  EXPECT_EQ(decoded.levels[0].width, 300);
  EXPECT_EQ(decoded.levels[0].height, 150);
  ReleaseTiledImage(decoded);
}

TEST(ExportHtml, DotPictureSizes) {
  const struct {
    std::int32_t w, h, outW, outH;
  } cases[] = {{40, 20, 300, 150},
               {20, 40, 150, 300},
               {3000, 2, 300, 1},
               {1, 1, 300, 300},
               {301, 299, 300, 298}};
  for (const auto& c : cases) {
    std::int32_t w = 0, h = 0;
    DotPictureSize(c.w, c.h, w, h);
    EXPECT_EQ(w, c.outW) << c.w << "x" << c.h;
    EXPECT_EQ(h, c.outH) << c.w << "x" << c.h;
  }
}

TEST(FrameGifs, AreGif89aOfTheirSizes) {
  for (const FramePiece& piece : kFramePieces) {
    const std::vector<std::uint8_t> gif = FrameGifBytes(piece);
    ASSERT_GT(gif.size(), 13u + 48u);
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    EXPECT_EQ(gif[6] | (gif[7] << 8), piece.width);
    EXPECT_EQ(gif[8] | (gif[9] << 8), piece.height);
    EXPECT_EQ(gif[10] & 0x87, 0x83);  // a global table of 16 colours
    EXPECT_EQ(gif.back(), 0x3B);
  }
  if (std::system("identify -version > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "ImageMagick is not installed";
  ScratchTempFolder temp;
  for (const FramePiece& piece : kFramePieces) {
    const std::vector<std::uint8_t> gif = FrameGifBytes(piece);
    const std::string path = temp.In(piece.fileName);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(gif.data()), std::streamsize(gif.size()));
    // Decoding every pixel: the mean grey lies between white and the darkest grey.
    const std::string command =
        "convert '" + path + "' -format '%w %h %[fx:mean>0.7 && mean<1]' info: 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[256];
      while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
      pclose(pipe);
    }
    EXPECT_EQ(out, std::to_string(piece.width) + " " + std::to_string(piece.height) + " 1")
        << piece.fileName;
  }
}

}  // namespace
}  // namespace stellane
