// JPEG files through libjpeg: grey or RGB, 8 bits. libjpeg reports errors by
// calling error_exit, which longjmps back here instead of exiting.
// libjpeg's header needs size_t and FILE declared before it.
// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "stellane/CliError.h"
#include "stellane/ImageFiles.h"
#include "stellane/ImageMetadata.h"

namespace cli {

namespace {

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char text[JMSG_LENGTH_MAX] = "unknown error";
  std::string ownMessage;  // when we stopped the job ourselves
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
  auto* error = reinterpret_cast<JpegError*>(cinfo->err);
  cinfo->err->format_message(cinfo, error->text);
  std::longjmp(error->jump, 1);
}

extern "C" void JpegQuiet(j_common_ptr, int) {}

// libjpeg warns about corrupt or truncated data (level -1) and carries on
// with grey fill; a reader must not hand that on as the user's picture.
extern "C" void JpegWarningIsError(j_common_ptr cinfo, int level) {
  if (level < 0) cinfo->err->error_exit(cinfo);
}

// Progressive files keep every coefficient of the picture; no file gets
// more than this of libjpeg's own memory.
constexpr long kJpegMemoryLimit = 1024L * 1024 * 1024;

struct FileCloser {
  std::FILE* file;
  ~FileCloser() {
    if (file) std::fclose(file);
  }
};

}  // namespace

testhost::Image ReadJpeg(const std::string& path) {
  FileCloser file{std::fopen(path.c_str(), "rb")};
  if (!file.file) Fail("cannot open " + path + ": " + std::strerror(errno));
  jpeg_decompress_struct cinfo;
  JpegError error;
  cinfo.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegErrorExit;
  error.manager.emit_message = JpegQuiet;
  testhost::Image image;
  if (setjmp(error.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    Fail(error.ownMessage.empty() ? path + ": unreadable JPEG (" + error.text + ")"
                                  : error.ownMessage);
  }
  jpeg_create_decompress(&cinfo);
  error.manager.emit_message = JpegWarningIsError;
  cinfo.mem->max_memory_to_use = kJpegMemoryLimit;
  jpeg_stdio_src(&cinfo, file.file);
  jpeg_read_header(&cinfo, TRUE);
  // Huffman coding spends at least one bit on every 8 x 8 block of the
  // first component, so a file holds at most 512 pixels a byte; arithmetic
  // coding can do better and is bounded by the pixel budget only.
  error.ownMessage = DeclaredSizeProblem(path, cinfo.image_width, cinfo.image_height,
                                         std::uint64_t(cinfo.image_width) * cinfo.image_height,
                                         cinfo.arith_code ? 0 : 512);
  if (!error.ownMessage.empty()) error.manager.error_exit(reinterpret_cast<j_common_ptr>(&cinfo));
  // CMYK and other spaces come out as RGB where libjpeg can convert them.
  cinfo.out_color_space = cinfo.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&cinfo);
  image = testhost::Image::Make(int(cinfo.output_width), int(cinfo.output_height),
                                cinfo.output_components == 1 ? 1 : 3, 8);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = image.SamplePtr(0, int(cinfo.output_scanline), 0);
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return image;
}

void WriteJpeg(const testhost::Image& image, const std::string& path, int quality,
               const ImageMetadata* metadata) {
  FileCloser file{std::fopen(path.c_str(), "wb")};
  if (!file.file) Fail("cannot write " + path + ": " + std::strerror(errno));
  jpeg_compress_struct cinfo;
  JpegError error;
  cinfo.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegErrorExit;
  error.manager.emit_message = JpegQuiet;
  if (setjmp(error.jump) != 0) {
    jpeg_destroy_compress(&cinfo);
    Fail("cannot write " + path + ": " + error.text);
  }
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file.file);
  cinfo.image_width = JDIMENSION(image.width);
  cinfo.image_height = JDIMENSION(image.height);
  cinfo.input_components = image.colorPlanes;
  cinfo.in_color_space = image.colorPlanes == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (metadata) SetJpegDensity(cinfo, *metadata);
  jpeg_start_compress(&cinfo, TRUE);
  if (metadata) PutJpegMarkers(cinfo, *metadata);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.SamplePtr(0, int(cinfo.next_scanline), 0));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  const bool closed = std::fclose(file.file) == 0;
  file.file = nullptr;
  if (!closed) Fail("cannot write " + path + ": " + std::strerror(errno));
}

}  // namespace cli
