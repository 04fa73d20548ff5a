// PNG files through libpng. libpng reports errors by longjmp, so every C++
// object that owns memory lives outside the setjmp scope.
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "stellane/CliError.h"
#include "stellane/ImageFiles.h"
#include "stellane/ImageMetadata.h"
#include "stellane/OutputFile.h"

namespace cli {

namespace {

struct PngMessage {
  char text[200] = "unknown error";
  std::string ownMessage;  // when we stopped the job ourselves
};

extern "C" void PngError(png_structp png, png_const_charp message) {
  auto* m = static_cast<PngMessage*>(png_get_error_ptr(png));
  std::snprintf(m->text, sizeof m->text, "%s", message);
  png_longjmp(png, 1);
}

extern "C" void PngWarning(png_structp, png_const_charp) {}

struct FileCloser {
  std::FILE* file;
  ~FileCloser() {
    if (file) std::fclose(file);
  }
};

// Rows of `image` as 8-bit or big-endian 16-bit file samples.
void StoreRow(testhost::Image& image, int y, const std::uint8_t* row) {
  const int samples = image.width * image.Planes();
  if (image.depth == 8) {
    std::memcpy(image.SamplePtr(0, y, 0), row, std::size_t(samples));
    return;
  }
  auto* out = reinterpret_cast<std::uint16_t*>(image.SamplePtr(0, y, 0));
  for (int i = 0; i < samples; ++i)
    out[i] = HostFromFile16(std::uint16_t(row[2 * i] << 8 | row[2 * i + 1]));
}

void LoadRow(const testhost::Image& image, int y, std::uint8_t* row) {
  const int samples = image.width * image.Planes();
  if (image.depth == 8) {
    std::memcpy(row, image.SamplePtr(0, y, 0), std::size_t(samples));
    return;
  }
  const auto* in = reinterpret_cast<const std::uint16_t*>(image.SamplePtr(0, y, 0));
  for (int i = 0; i < samples; ++i) {
    const std::uint16_t v = FileFromHost16(in[i]);
    row[2 * i] = std::uint8_t(v >> 8);
    row[2 * i + 1] = std::uint8_t(v);
  }
}

}  // namespace

testhost::Image ReadPng(const std::string& path) {
  FileCloser file{std::fopen(path.c_str(), "rb")};
  if (!file.file) Fail("cannot open " + path + ": " + std::strerror(errno));
  PngMessage message;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, PngError, PngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    Fail(path + ": out of memory");
  }
  testhost::Image image;
  std::vector<std::uint8_t> all;
  std::vector<png_bytep> rows;
  volatile bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file.file);
    // libpng's own limits: the largest side, a few megabytes a chunk. A
    // chunk over the limit is only warned about, so the chunks that hold
    // text, profiles and palettes we have no use for are passed over unread.
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_cache_max(png, 1000);
    png_set_chunk_malloc_max(png, 8 << 20);
    static const png_byte kUnused[] = "eXIf\0iCCP\0iTXt\0sPLT\0tEXt\0zTXt";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnused, 6);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    // Deflate gives back at most 1032 bytes for each byte it stores.
    message.ownMessage = DeclaredSizeProblem(
        path, width, height, std::uint64_t(height) * (png_get_rowbytes(png, info) + 1), 1032);
    if (!message.ownMessage.empty()) png_error(png, "size");
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const int channels = png_get_channels(png, info);
    const int depth = png_get_bit_depth(png, info);
    const int colorPlanes = channels <= 2 ? 1 : 3;
    const bool alpha = channels == 2 || channels == 4;
    image = testhost::Image::Make(int(width), int(height), colorPlanes, depth, alpha);
    // Interlaced files need every pass over every row; read them whole.
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    all.resize(rowBytes * (interlaced ? height : 1));
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = all.data() + (interlaced ? y * rowBytes : 0);
    if (interlaced) png_read_image(png, rows.data());
    for (png_uint_32 y = 0; y < height; ++y) {
      if (!interlaced) png_read_row(png, rows[y], nullptr);
      StoreRow(image, int(y), rows[y]);
    }
    png_read_end(png, nullptr);
    ok = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  if (!message.ownMessage.empty()) Fail(message.ownMessage);
  if (!ok) Fail(path + ": unreadable PNG (" + message.text + ")");
  return image;
}

void WritePng(const testhost::Image& image, const std::string& path, PngCompression compression,
              const ImageMetadata* metadata) {
  FileCloser file{std::fopen(path.c_str(), "wb")};
  if (!file.file) Fail("cannot write " + path + ": " + std::strerror(errno));
  PngMessage message;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &message, PngError, PngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    Fail(path + ": out of memory");
  }
  std::vector<std::uint8_t> row(image.RowBytes());
  volatile bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    const int colorType =
        image.colorPlanes == 1
            ? (image.transparency ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_GRAY)
            : (image.transparency ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB);
    png_init_io(png, file.file);
    if (compression == PngCompression::Fast) {
      // Filtered rows of a render are mostly short runs of small values:
      // run-length matching at the fastest level keeps nearly all the gain.
      png_set_compression_level(png, 1);
      png_set_compression_strategy(png, Z_RLE);
    } else {
      png_set_compression_level(png, 9);
    }
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), image.depth,
                 colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (metadata) PutPngMetadata(png, info, *metadata);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
      LoadRow(image, y, row.data());
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  const bool closed = std::fclose(file.file) == 0;
  file.file = nullptr;
  if (!ok) Fail("cannot write " + path + ": " + message.text + SystemReason());
  if (!closed) Fail("cannot write " + path + ": " + std::strerror(errno));
}

}  // namespace cli
