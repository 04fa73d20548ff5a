// PNG metadata: iCCP, pHYs, eXIf and the text chunks (XMP is the iTXt chunk
// "XML:com.adobe.xmp"). Only the chunks before the pixel data are read.
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include "stellane/ImageMetadata.h"

namespace cli {

namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr char kXmpKeyword[] = "XML:com.adobe.xmp";

extern "C" void MetadataPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
extern "C" void MetadataPngWarning(png_structp, png_const_charp) {}

void TakeChunks(png_structp png, png_infop info, ImageMetadata& m) {
  png_charp name = nullptr;
  int compression = 0;
  png_bytep profile = nullptr;
  png_uint_32 profileBytes = 0;
  if (png_get_iCCP(png, info, &name, &compression, &profile, &profileBytes) && profile)
    m.iccProfile.assign(profile, profile + profileBytes);
  png_uint_32 x = 0, y = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &x, &y, &unit) && unit == PNG_RESOLUTION_METER && x && y) {
    m.xDpi = x * kMetresPerInch;
    m.yDpi = y * kMetresPerInch;
  }
  png_uint_32 exifBytes = 0;
  png_bytep exif = nullptr;
  if (png_get_eXIf_1(png, info, &exifBytes, &exif) && exif) m.exif.assign(exif, exif + exifBytes);
  png_textp texts = nullptr;
  const int count = png_get_text(png, info, &texts, nullptr);
  for (int i = 0; i < count; ++i) {
    const std::string key = texts[i].key;
    const std::size_t length = texts[i].compression >= PNG_ITXT_COMPRESSION_NONE
                                   ? texts[i].itxt_length
                                   : texts[i].text_length;
    const std::string text(texts[i].text ? texts[i].text : "", texts[i].text ? length : 0);
    if (key == kXmpKeyword)
      m.xmp = text;
    else
      m.comments.emplace_back(key, text);
  }
}

}  // namespace

ImageMetadata ReadPngMetadata(const std::string& path) {
  ImageMetadata metadata;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return metadata;
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, MetadataPngError, MetadataPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_chunk_malloc_max(png, 8 << 20);
    png_read_info(png, info);
    TakeChunks(png, info, metadata);
  } else {
    metadata = ImageMetadata{};
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return metadata;
}

void PutPngMetadata(png_structp png, png_infop info, const ImageMetadata& m) {
  // A profile that does not suit the picture (a grey one for RGB) is
  // dropped with a warning instead of failing the write.
  png_set_benign_errors(png, 1);
  if (!m.iccProfile.empty())
    png_set_iCCP(png, info, "ICC profile", PNG_COMPRESSION_TYPE_BASE, m.iccProfile.data(),
                 png_uint_32(m.iccProfile.size()));
  if (m.xDpi > 0 && m.yDpi > 0)
    png_set_pHYs(png, info, png_uint_32(std::lround(m.xDpi / kMetresPerInch)),
                 png_uint_32(std::lround(m.yDpi / kMetresPerInch)), PNG_RESOLUTION_METER);
  if (!m.exif.empty())
    png_set_eXIf_1(png, info, png_uint_32(m.exif.size()), (png_bytep)m.exif.data());
  std::vector<png_text> texts;
  auto add = [&](const std::string& key, const std::string& text, int compression) {
    png_text t{};
    t.compression = compression;
    t.key = const_cast<char*>(key.c_str());
    t.text = const_cast<char*>(text.c_str());
    t.text_length = text.size();
    texts.push_back(t);
  };
  for (const auto& [keyword, text] : m.comments)
    if (!keyword.empty() && keyword.size() < 80)
      add(keyword, text,
          text.size() > 1000 ? PNG_TEXT_COMPRESSION_zTXt : PNG_TEXT_COMPRESSION_NONE);
  const std::string xmpKey = kXmpKeyword;
  if (!m.xmp.empty()) add(xmpKey, m.xmp, PNG_ITXT_COMPRESSION_NONE);
  if (!texts.empty()) png_set_text(png, info, texts.data(), int(texts.size()));
}

}  // namespace cli
