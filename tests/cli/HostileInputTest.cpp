// Files made to hurt: a huge picture declared in a few bytes, a chunk that
// claims 2 GB, data cut short or corrupt. Each must fail at once (within
// 100 MB and one second) with exit 1 and one line naming file and reason.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <limits>
#include <string>

#include "CliRun.h"
#include "TestPictures.h"
#include "stellane/ImageFiles.h"

namespace clitest {
namespace {

std::string Be32(std::uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

// A PNG chunk with a correct CRC; `length` may lie about the data.
std::string PngChunk(const char* type, const std::string& data, std::int64_t length = -1) {
  const std::string body = type + data;
  const auto crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
  return Be32(std::uint32_t(length < 0 ? data.size() : length)) + body + Be32(std::uint32_t(crc));
}

// Signature and header of a width x height PNG (colour type 2 RGB, 6 RGBA).
std::string PngStart(std::uint32_t width, std::uint32_t height, int bitDepth, int colorType) {
  return std::string("\x89PNG\r\n\x1a\n", 8) +
         PngChunk("IHDR", Be32(width) + Be32(height) + char(bitDepth) + char(colorType) +
                              std::string(3, '\0'));
}

// A few rows of real pixel data, far fewer than the header declares.
std::string PngShortData(std::uint32_t width) {
  const std::string rows(3 * (width * 3 + 1), '\0');
  uLongf size = compressBound(uLong(rows.size()));
  std::string packed(size, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &size,
           reinterpret_cast<const Bytef*>(rows.data()), uLong(rows.size()));
  packed.resize(size);
  return PngChunk("IDAT", packed) + PngChunk("IEND", "");
}

std::string Le(std::uint32_t v, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += char(v >> (8 * i));
  return out;
}

// A little-endian grey 8-bit uncompressed TIFF declaring width x height,
// holding only `stored` bytes of samples.
std::string GreyTiff(std::uint32_t width, std::uint32_t height, std::uint32_t stored) {
  struct Tag {
    std::uint16_t id, type;
    std::uint32_t value;
  };
  constexpr std::uint32_t kShort = 3, kLong = 4, kDataAt = 8;
  const Tag tags[] = {{256, kLong, width}, {257, kLong, height}, {258, kShort, 8},
                      {259, kShort, 1},    {262, kShort, 1},     {273, kLong, kDataAt},
                      {277, kShort, 1},    {278, kLong, height}, {279, kLong, width * height}};
  std::string tiff = "II" + Le(42, 2) + Le(kDataAt + stored, 4) + std::string(stored, '\x80');
  tiff += Le(std::size(tags), 2);
  for (const Tag& t : tags) tiff += Le(t.id, 2) + Le(t.type, 2) + Le(1, 4) + Le(t.value, 4);
  return tiff + Le(0, 4);
}

// A real JPEG of the lopsided picture with its frame header's size replaced.
std::string JpegWithSize(const std::string& jpeg, std::uint16_t width, std::uint16_t height) {
  std::string patched = jpeg;
  const std::size_t frame = patched.find("\xff\xc0");
  // Marker, length (2), precision (1), then height and width, big-endian.
  patched[frame + 5] = char(height >> 8);
  patched[frame + 6] = char(height);
  patched[frame + 7] = char(width >> 8);
  patched[frame + 8] = char(width);
  return patched;
}

TEST(HostileInput, FailsFastWithOneLineNamingTheFile) {
  const std::string folder = ScratchFolder();
  cli::WriteImageFile(Lopsided(301, 203, 3, 8, false), folder + "real.jpg",
                      cli::ImageFileKind::Jpeg);
  const std::string jpeg = ReadText(folder + "real.jpg");
  ASSERT_GT(jpeg.size(), 4000u);

  const struct {
    const char* name;
    std::string bytes;
    const char* message;
  } cases[] = {
      // One file for each way of lying: 30000 x 30000 RGBA16 would be 7.2 GB.
      {"huge.png", PngStart(30000, 30000, 16, 6) + PngShortData(16), "megapixels"},
      // 256 megapixels, within the budget, but a few kilobytes cannot hold them.
      {"lying.jpg", JpegWithSize(jpeg, 16000, 16000), "too short"},
      // An ancillary chunk that claims 2 GB is passed over, and the file ends.
      // Our own TIFF reader keeps the same budget and checks the strip's size.
      {"huge.tif", GreyTiff(30000, 30000, 16), "megapixels"},
      {"short.tif", GreyTiff(10000, 10000, 16), "too short"},
      {"chunk.png", PngStart(10, 10, 8, 2) + PngChunk("tEXt", "abc", 0x7fffffff), "unreadable PNG"},
      // libjpeg warns about the missing end and fills grey: an error here.
      {"cut.jpg", jpeg.substr(0, 2000), "Premature end"},
      {"corrupt.jpg", jpeg.substr(0, jpeg.size() / 2) + std::string(64, '\xff') + "\xff\xd9",
       "unreadable JPEG"},
  };
  for (const auto& c : cases) {
    const std::string path = folder + c.name;
    WriteText(path, c.bytes);
    const CliResult run =
        RunStellane({"render", path, folder + "out.png", "-q"}, Limits::kMemoryAndTime);
    EXPECT_EQ(run.exitCode, 1) << c.name << ": " << run.err;
    EXPECT_EQ(run.err.rfind("stellane: " + path + ": ", 0), 0u) << run.err;
    EXPECT_TRUE(Holds(run.err, c.message));
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_FALSE(Exists(folder + "out.png")) << c.name;
  }
}

TEST(HostileInput, NanAndInfinitiesInAFloatPictureHaveDefinedValues) {
  const std::string folder = ScratchFolder();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  testhost::Image picture = testhost::Image::Make(9, 5, 1, 32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) picture.Set(x, y, 0, 0.25);
  picture.Set(0, 0, 0, nan);
  picture.Set(1, 0, 0, inf);
  picture.Set(2, 0, 0, -inf);
  cli::WriteImageFile(picture, folder + "float.tif", cli::ImageFileKind::Tiff);
  // Row 0 is outside the rectangle and kept; as 16 bits NaN and -inf are 0,
  // +inf the top of the range, 0.25 a quarter of 65535. The settings
  // thumbnail samples the same picture.
  ASSERT_TRUE(Succeeds({"render", folder + "float.tif", folder + "out.png", "--rect", "0,2,9,3",
                        "--save-settings", folder + "s.q9r", "-q"}));
  const testhost::Image out = cli::ReadImageFile(folder + "out.png");
  ASSERT_EQ(out.depth, 16);
  EXPECT_EQ(cli::FileFromHost16(std::uint16_t(out.Get(0, 0, 0))), 0);
  EXPECT_EQ(cli::FileFromHost16(std::uint16_t(out.Get(1, 0, 0))), 65535);
  EXPECT_EQ(cli::FileFromHost16(std::uint16_t(out.Get(2, 0, 0))), 0);
  EXPECT_EQ(cli::FileFromHost16(std::uint16_t(out.Get(3, 0, 0))), 16384);

  // A mask of NaN and -inf selects nothing, one of +inf everything.
  testhost::Image mask = testhost::Image::Make(9, 5, 1, 32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) mask.Set(x, y, 0, x == 8 ? inf : (x % 2 ? nan : -inf));
  cli::WriteImageFile(mask, folder + "mask.tif", cli::ImageFileKind::Tiff);
  const testhost::Image source = Lopsided(9, 5, 3, 8, false);
  cli::WriteImageFile(source, folder + "in.png", cli::ImageFileKind::Png);
  // Fixed stars: a field drawn from the clock could match the picture by chance.
  ASSERT_TRUE(Succeeds({"render", folder + "in.png", folder + "masked.png", "--mask",
                        folder + "mask.tif", "-q", "--seed", "7"}));
  const testhost::Image masked = cli::ReadImageFile(folder + "masked.png");
  EXPECT_EQ(DifferingPixelsIn(source, masked, 0, 0, 8, 5, true), 0);
  EXPECT_GT(DifferingPixelsIn(source, masked, 8, 0, 9, 5, true), 2);
}

// A scripted star scale far outside the dialog's range must not make the
// stars huge: about 5 s for this picture when the star size followed it.
TEST(HostileInput, ScriptedStarScaleKeepsTheRenderCheap) {
  const std::string folder = ScratchFolder();
  cli::WriteImageFile(Lopsided(200, 150, 3, 8, false), folder + "in.png", cli::ImageFileKind::Png);
  WriteText(folder + "play.txt", "stellane-descriptor 1\n0013 long -2147483648\n");
  const CliResult run = RunStellane(
      {"render", folder + "in.png", folder + "out.png", "-q", "--play", folder + "play.txt"},
      Limits::kMemoryAndTime);
  EXPECT_EQ(run.exitCode, 0) << run.err;
}

}  // namespace
}  // namespace clitest
