// TIFF metadata: the ICC profile tag, the resolution tags, the XMP packet
// (tag 700) and the image description. EXIF lives in a directory of its own
// in TIFF files and is not carried.
#include <tiffio.h>

#include <cstdint>

#include "stellane/ImageMetadata.h"

namespace cli {

namespace {

constexpr double kCentimetresPerInch = 2.54;
constexpr char kDescription[] = "Description";

}  // namespace

ImageMetadata ReadTiffMetadata(const std::string& path) {
  ImageMetadata m;
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
  TIFF* t = TIFFOpen(path.c_str(), "r");
  if (!t) return m;
  std::uint32_t bytes = 0;
  void* data = nullptr;
  if (TIFFGetField(t, TIFFTAG_ICCPROFILE, &bytes, &data) && data) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    m.iccProfile.assign(p, p + bytes);
  }
  if (TIFFGetField(t, TIFFTAG_XMLPACKET, &bytes, &data) && data)
    m.xmp.assign(static_cast<const char*>(data), bytes);
  float x = 0, y = 0;
  std::uint16_t unit = RESUNIT_INCH;
  TIFFGetFieldDefaulted(t, TIFFTAG_RESOLUTIONUNIT, &unit);
  if (TIFFGetField(t, TIFFTAG_XRESOLUTION, &x) && TIFFGetField(t, TIFFTAG_YRESOLUTION, &y) &&
      x > 0 && y > 0 && unit != RESUNIT_NONE) {
    const double perInch = unit == RESUNIT_CENTIMETER ? kCentimetresPerInch : 1.0;
    m.xDpi = x * perInch;
    m.yDpi = y * perInch;
  }
  char* description = nullptr;
  if (TIFFGetField(t, TIFFTAG_IMAGEDESCRIPTION, &description) && description)
    m.comments.emplace_back(kDescription, description);
  TIFFClose(t);
  return m;
}

void PutTiffMetadata(TIFF* t, const ImageMetadata& m) {
  if (!m.iccProfile.empty())
    TIFFSetField(t, TIFFTAG_ICCPROFILE, std::uint32_t(m.iccProfile.size()), m.iccProfile.data());
  if (m.xDpi > 0 && m.yDpi > 0) {
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, std::uint16_t(RESUNIT_INCH));
    TIFFSetField(t, TIFFTAG_XRESOLUTION, float(m.xDpi));
    TIFFSetField(t, TIFFTAG_YRESOLUTION, float(m.yDpi));
  }
  if (!m.xmp.empty()) TIFFSetField(t, TIFFTAG_XMLPACKET, std::uint32_t(m.xmp.size()), m.xmp.data());
  for (const auto& [keyword, text] : m.comments)
    if (IsPlainComment(keyword)) {
      TIFFSetField(t, TIFFTAG_IMAGEDESCRIPTION, text.c_str());
      break;  // a TIFF has one description
    }
}

}  // namespace cli
