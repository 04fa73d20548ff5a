// The memory dots page: every dot that holds settings rendered with them at
// 300 pixels on the longer side, the current settings untouched.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../unit/ScratchTempFolder.h"
#include "RunRigs.h"
#include "export/HtmlPages.h"
#include "image/JpegCodec.h"
#include "params/SettingsFile.h"
#include "params/TempFolder.h"

namespace stellane {
namespace {

using testing::ExportRig;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void SetDot(int dot, const RenderParams& params) {
  char path[kPathBytes];
  ASSERT_TRUE(MemoryDotFilePath(dot, path));
  ASSERT_EQ(WriteSettingsFile(path, params, nullptr), 0);
}

TEST(ExportHtml, DotsAreRenderedWithTheirOwnSettings) {
  ScratchTempFolder temp;
  ExportRig rig(40, 20, 16);
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
  // Four columns: two pictures and two empty cells.
  std::size_t empty = 0;
  for (std::size_t at = 0; (at = html.find("<b></b>", at)) != std::string::npos; ++at) ++empty;
  EXPECT_EQ(empty, 2u);

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

}  // namespace
}  // namespace stellane
