#include "TestPictures.h"

#include <tiffio.h>

#include <fstream>

namespace clitest {

testhost::Image Lopsided(int width, int height, int colorPlanes, int depth, bool alpha) {
  testhost::Image image = testhost::Image::Make(width, height, colorPlanes, depth, alpha);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int p = 0; p < image.Planes(); ++p) {
        const double v = ((x * 53 + y * y * 31 + p * 97) % 251) / 250.0;
        image.Set(x, y, p, v * image.MaxValue());
      }
  return image;
}

PngHeader ReadPngHeader(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char bytes[26] = {};
  in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
  auto be32 = [&](int at) {
    return int(bytes[at]) << 24 | int(bytes[at + 1]) << 16 | int(bytes[at + 2]) << 8 |
           int(bytes[at + 3]);
  };
  PngHeader header;
  if (!in || bytes[12] != 'I' || bytes[13] != 'H') return header;
  header.width = be32(16);
  header.height = be32(20);
  header.bitDepth = bytes[24];
  header.colorType = bytes[25];
  return header;
}

TiffHeader ReadTiffHeader(const std::string& path) {
  TiffHeader header;
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (!tiff) return header;
  std::uint32_t w = 0, h = 0;
  std::uint16_t samples = 0, bits = 0, format = SAMPLEFORMAT_UINT;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFClose(tiff);
  header.width = int(w);
  header.height = int(h);
  header.samples = samples;
  header.bits = bits;
  header.sampleFormat = format;
  return header;
}

int DifferingPixelsIn(const testhost::Image& a, const testhost::Image& b, int left, int top,
                      int right, int bottom, bool inside) {
  int count = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) {
      const bool in = x >= left && x < right && y >= top && y < bottom;
      if (in != inside) continue;
      for (int p = 0; p < a.Planes(); ++p)
        if (a.Get(x, y, p) != b.Get(x, y, p)) {
          ++count;
          break;
        }
    }
  return count;
}

int DifferingPixels(const testhost::Image& a, const testhost::Image& b) {
  return DifferingPixelsIn(a, b, 0, 0, a.width, a.height, true);
}

int DifferingInPlane(const testhost::Image& a, const testhost::Image& b, int plane) {
  int count = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) count += a.Get(x, y, plane) != b.Get(x, y, plane);
  return count;
}

}  // namespace clitest
