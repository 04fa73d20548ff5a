// JPEG metadata: JFIF density, the ICC profile in APP2 (split over several
// markers, which libjpeg joins and splits), EXIF and XMP in APP1, comments
// in COM markers.
// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "stellane/ImageMetadata.h"

namespace cli {

namespace {

constexpr char kExifHeader[] = "Exif\0";  // with the string's own zero: six bytes
constexpr std::size_t kExifHeaderBytes = 6;
constexpr char kXmpHeader[] = "http://ns.adobe.com/xap/1.0/";  // and its zero
constexpr std::size_t kXmpHeaderBytes = sizeof kXmpHeader;
// A marker's length field counts itself: at most 65533 bytes of data.
constexpr std::size_t kMaxMarkerData = 65533;

struct QuietError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

extern "C" void MetadataErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<QuietError*>(cinfo->err)->jump, 1);
}

extern "C" void MetadataQuiet(j_common_ptr, int) {}

bool StartsWith(const jpeg_saved_marker_ptr m, const char* header, std::size_t bytes) {
  return m->data_length >= bytes && std::memcmp(m->data, header, bytes) == 0;
}

void TakeMarkers(const jpeg_decompress_struct& cinfo, ImageMetadata& metadata) {
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m != nullptr; m = m->next) {
    if (m->marker == JPEG_APP0 + 1 && StartsWith(m, kExifHeader, kExifHeaderBytes))
      metadata.exif.assign(m->data + kExifHeaderBytes, m->data + m->data_length);
    else if (m->marker == JPEG_APP0 + 1 && StartsWith(m, kXmpHeader, kXmpHeaderBytes))
      metadata.xmp.assign(reinterpret_cast<const char*>(m->data) + kXmpHeaderBytes,
                          m->data_length - kXmpHeaderBytes);
    else if (m->marker == JPEG_COM)
      metadata.comments.emplace_back(
          "Comment", std::string(reinterpret_cast<const char*>(m->data), m->data_length));
  }
}

void PutMarker(jpeg_compress_struct& cinfo, int marker, const char* header, std::size_t headerBytes,
               const std::uint8_t* data, std::size_t bytes) {
  if (bytes == 0 || headerBytes + bytes > kMaxMarkerData) return;  // too long for one marker
  jpeg_write_m_header(&cinfo, marker, unsigned(headerBytes + bytes));
  for (std::size_t i = 0; i < headerBytes; ++i) jpeg_write_m_byte(&cinfo, header[i]);
  for (std::size_t i = 0; i < bytes; ++i) jpeg_write_m_byte(&cinfo, data[i]);
}

// The header's metadata; false (with `metadata` partly filled) on a broken
// file.
bool ReadJpegHeader(std::FILE* file, ImageMetadata& metadata) {
  jpeg_decompress_struct cinfo;
  QuietError error;
  cinfo.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = MetadataErrorExit;
  error.manager.emit_message = MetadataQuiet;
  if (setjmp(error.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xffff);
  jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xffff);
  jpeg_save_markers(&cinfo, JPEG_COM, 0xffff);
  jpeg_read_header(&cinfo, TRUE);
  TakeMarkers(cinfo, metadata);
  JOCTET* profile = nullptr;
  unsigned int profileBytes = 0;
  if (jpeg_read_icc_profile(&cinfo, &profile, &profileBytes) && profile != nullptr) {
    metadata.iccProfile.assign(profile, profile + profileBytes);
    std::free(profile);
  }
  // Density unit 1: per inch, 2: per centimetre, 0: an aspect ratio only.
  if (cinfo.saw_JFIF_marker && cinfo.density_unit != 0 && cinfo.X_density && cinfo.Y_density) {
    const double perInch = cinfo.density_unit == 2 ? 2.54 : 1.0;
    metadata.xDpi = cinfo.X_density * perInch;
    metadata.yDpi = cinfo.Y_density * perInch;
  }
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

ImageMetadata ReadJpegMetadata(const std::string& path) {
  ImageMetadata metadata;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return metadata;
  if (!ReadJpegHeader(file, metadata)) metadata = ImageMetadata{};
  std::fclose(file);
  return metadata;
}

void SetJpegDensity(jpeg_compress_struct& cinfo, const ImageMetadata& metadata) {
  if (metadata.xDpi <= 0 || metadata.yDpi <= 0) return;
  cinfo.write_JFIF_header = TRUE;
  cinfo.density_unit = 1;
  cinfo.X_density = UINT16(std::clamp(std::lround(metadata.xDpi), 1L, 65535L));
  cinfo.Y_density = UINT16(std::clamp(std::lround(metadata.yDpi), 1L, 65535L));
}

void PutJpegMarkers(jpeg_compress_struct& cinfo, const ImageMetadata& metadata) {
  PutMarker(cinfo, JPEG_APP0 + 1, kExifHeader, kExifHeaderBytes, metadata.exif.data(),
            metadata.exif.size());
  PutMarker(cinfo, JPEG_APP0 + 1, kXmpHeader, kXmpHeaderBytes,
            reinterpret_cast<const std::uint8_t*>(metadata.xmp.data()), metadata.xmp.size());
  if (!metadata.iccProfile.empty())
    jpeg_write_icc_profile(&cinfo, metadata.iccProfile.data(),
                           unsigned(metadata.iccProfile.size()));
  for (const auto& [keyword, text] : metadata.comments)
    if (IsPlainComment(keyword))
      PutMarker(cinfo, JPEG_COM, "", 0, reinterpret_cast<const std::uint8_t*>(text.data()),
                text.size());
}

}  // namespace cli
