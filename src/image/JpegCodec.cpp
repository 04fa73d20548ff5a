// JPEG compression and decompression in memory.
//
// libjpeg reports errors by calling error_exit, which by default ends the
// process; ours longjmps back to the function that started the job, and so
// do warnings (libjpeg only warns about corrupt or truncated data and then
// carries on with invented pixels). The functions that call setjmp hold only
// trivially destructible locals, and everything they change after setjmp
// lives in a job record owned by their caller, so nothing is left undefined
// by the jump. Our own source and destination managers keep every byte
// within the caller's buffer and every allocation in the job record.
#include "image/JpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared before it.
// clang-format off
#include <stdio.h>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace stellane {

namespace {

constexpr long kJpegMemoryLimit = 256L * 1024 * 1024;
constexpr std::size_t kFirstOutputBlock = 16384;

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void TrapError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// Level -1 is a warning about the data; higher levels are trace messages.
void TrapWarning(j_common_ptr info, int level) {
  if (level < 0) TrapError(info);
}

void Silent(j_common_ptr) {}

void InstallTrap(ErrorTrap& trap) {
  jpeg_std_error(&trap.manager);
  trap.manager.error_exit = TrapError;
  trap.manager.emit_message = TrapWarning;
  trap.manager.output_message = Silent;
}

void Fail(j_common_ptr info, int code) {
  info->err->msg_code = code;
  info->err->error_exit(info);
}

// ---- Destination: a malloc'd block that doubles when full.

struct Sink {
  jpeg_destination_mgr manager;
  unsigned char* data;
  std::size_t capacity;
  std::size_t size;
};

void SinkInit(j_compress_ptr info) {
  Sink* sink = reinterpret_cast<Sink*>(info->dest);
  sink->data = static_cast<unsigned char*>(std::malloc(kFirstOutputBlock));
  if (!sink->data) Fail(reinterpret_cast<j_common_ptr>(info), JERR_OUT_OF_MEMORY);
  sink->capacity = kFirstOutputBlock;
  sink->manager.next_output_byte = sink->data;
  sink->manager.free_in_buffer = sink->capacity;
}

boolean SinkGrow(j_compress_ptr info) {
  Sink* sink = reinterpret_cast<Sink*>(info->dest);
  // libjpeg calls this only when the block is full.
  const std::size_t used = sink->capacity;
  void* grown = std::realloc(sink->data, sink->capacity * 2);
  if (!grown) Fail(reinterpret_cast<j_common_ptr>(info), JERR_OUT_OF_MEMORY);
  sink->data = static_cast<unsigned char*>(grown);
  sink->capacity *= 2;
  sink->manager.next_output_byte = sink->data + used;
  sink->manager.free_in_buffer = sink->capacity - used;
  return TRUE;
}

void SinkTerm(j_compress_ptr info) {
  Sink* sink = reinterpret_cast<Sink*>(info->dest);
  sink->size = sink->capacity - sink->manager.free_in_buffer;
}

// ---- Source: the caller's bytes, nothing beyond.

void SourceInit(j_decompress_ptr) {}

// All bytes were handed over at the start: asking for more means the data
// ended early.
boolean SourceFill(j_decompress_ptr info) {
  Fail(reinterpret_cast<j_common_ptr>(info), JERR_INPUT_EOF);
  return FALSE;
}

void SourceSkip(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* src = info->src;
  if (std::size_t(count) > src->bytes_in_buffer) {
    Fail(reinterpret_cast<j_common_ptr>(info), JERR_INPUT_EOF);
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= std::size_t(count);
}

void SourceTerm(j_decompress_ptr) {}

// ---- Compression

// Fills one RGB row (three bytes a pixel) from the job's picture.
using RowFill = void (*)(const void* picture, std::int32_t y, std::int32_t width,
                         unsigned char* rgb);

struct CompressJob {
  const void* picture;
  RowFill fill;
  std::int32_t width;
  std::int32_t height;
  ErrorTrap trap;
  jpeg_compress_struct info;
  Sink sink;
  unsigned char* row;
  bool created;
};

// The libjpeg calls; returns false after any error of the library.
bool RunCompress(CompressJob* job) {
  if (setjmp(job->trap.jump)) {
    if (job->created) jpeg_destroy_compress(&job->info);
    return false;
  }
  job->info.err = &job->trap.manager;
  jpeg_create_compress(&job->info);
  job->created = true;
  job->sink.manager.init_destination = SinkInit;
  job->sink.manager.empty_output_buffer = SinkGrow;
  job->sink.manager.term_destination = SinkTerm;
  job->info.dest = &job->sink.manager;
  job->info.image_width = JDIMENSION(job->width);
  job->info.image_height = JDIMENSION(job->height);
  job->info.input_components = 3;
  job->info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&job->info);
  jpeg_set_quality(&job->info, kJpegQuality, TRUE);
  jpeg_start_compress(&job->info, TRUE);
  JSAMPROW rows[1] = {job->row};
  for (std::int32_t y = 0; y < job->height; ++y) {
    job->fill(job->picture, y, job->width, job->row);
    jpeg_write_scanlines(&job->info, rows, 1);
  }
  jpeg_finish_compress(&job->info);
  jpeg_destroy_compress(&job->info);
  job->created = false;
  return true;
}

bool Compress(const void* picture, RowFill fill, std::int32_t width, std::int32_t height,
              JpegBytes& out) {
  ReleaseJpegBytes(out);
  // libjpeg's own limit on a side.
  if (width < 1 || height < 1 || width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION) {
    return false;
  }
  CompressJob job{};
  job.picture = picture;
  job.fill = fill;
  job.width = width;
  job.height = height;
  InstallTrap(job.trap);
  job.row = static_cast<unsigned char*>(std::malloc(std::size_t(width) * 3));
  if (!job.row) return false;
  const bool ok = RunCompress(&job);
  std::free(job.row);
  if (!ok) {
    std::free(job.sink.data);
    return false;
  }
  out.data = job.sink.data;
  out.size = job.sink.size;
  return true;
}

std::uint8_t ToByte(float v) { return v > 0.0f ? std::uint8_t(std::min(v, 255.0f)) : 0; }

void FillFromImage(const void* picture, std::int32_t y, std::int32_t width, unsigned char* rgb) {
  const auto& image = *static_cast<const TiledImage*>(picture);
  for (std::int32_t x = 0; x < width; ++x) {
    unsigned char* p = rgb + 3 * x;
    if (image.format == kFormatPacked8) {
      const std::uint32_t word = ReadPacked(image, x, y, 0);
      for (int c = 0; c < 3; ++c) p[c] = std::uint8_t(PackedChannel(word, c));
      continue;
    }
    float v[4];
    ReadChannelsFloat(image, x, y, 0, v);
    const float scale = image.invMaxValue * 255.0f;
    if (image.channels == 1) v[1] = v[2] = v[0];
    for (int c = 0; c < 3; ++c) p[c] = ToByte(v[c] * scale);
  }
}

// ---- Decompression

struct DecompressJob {
  const std::uint8_t* data;
  std::size_t size;
  TiledImage* image;
  ErrorTrap trap;
  jpeg_decompress_struct info;
  jpeg_source_mgr source;
  unsigned char* row;
  bool created;
  bool imageCreatedHere;
};

void StoreRgbRow(TiledImage& image, std::int32_t y, std::int32_t width, const unsigned char* rgb) {
  const std::int32_t count = std::min(width, image.levels[0].width);
  for (std::int32_t x = 0; x < count; ++x) {
    const unsigned char* p = rgb + 3 * x;
    if (image.format == kFormatPacked8) {
      WritePacked(image, x, y, 0, PackChannels(p[0], p[1], p[2], 255));
    } else {
      const float k = image.maxValue * (1.0f / 255.0f);
      const float v[4] = {p[0] * k, p[1] * k, p[2] * k, image.maxValue};
      WriteChannelsFloat(image, x, y, 0, v);
    }
  }
}

bool RunDecompress(DecompressJob* job) {
  if (setjmp(job->trap.jump)) {
    if (job->created) jpeg_destroy_decompress(&job->info);
    return false;
  }
  job->info.err = &job->trap.manager;
  jpeg_create_decompress(&job->info);
  job->created = true;
  job->info.mem->max_memory_to_use = kJpegMemoryLimit;
  job->source.init_source = SourceInit;
  job->source.fill_input_buffer = SourceFill;
  job->source.skip_input_data = SourceSkip;
  job->source.resync_to_restart = jpeg_resync_to_restart;
  job->source.term_source = SourceTerm;
  job->source.next_input_byte = job->data;
  job->source.bytes_in_buffer = job->size;
  job->info.src = &job->source;
  if (jpeg_read_header(&job->info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&job->info);
    job->created = false;
    return false;
  }
  job->info.out_color_space = JCS_RGB;
  const std::int32_t width = std::int32_t(job->info.image_width);
  const std::int32_t height = std::int32_t(job->info.image_height);
  bool sizeOk = width >= 1 && height >= 1 && width <= kJpegMaxSide && height <= kJpegMaxSide;
  if (sizeOk && !HasPixels(*job->image)) {
    sizeOk = CreateTiledImage(*job->image, width, height, kFormatPacked8);
    job->imageCreatedHere = sizeOk;
  }
  if (!sizeOk) {
    jpeg_destroy_decompress(&job->info);
    job->created = false;
    return false;
  }
  jpeg_start_decompress(&job->info);
  if (job->info.output_components != 3)
    Fail(reinterpret_cast<j_common_ptr>(&job->info), JERR_BAD_J_COLORSPACE);
  job->row = static_cast<unsigned char*>(std::malloc(std::size_t(width) * 3));
  if (!job->row) Fail(reinterpret_cast<j_common_ptr>(&job->info), JERR_OUT_OF_MEMORY);
  JSAMPROW rows[1] = {job->row};
  while (job->info.output_scanline < job->info.output_height) {
    const std::int32_t y = std::int32_t(job->info.output_scanline);
    if (jpeg_read_scanlines(&job->info, rows, 1) != 1) {
      Fail(reinterpret_cast<j_common_ptr>(&job->info), JERR_INPUT_EOF);
    }
    if (y < job->image->levels[0].height) StoreRgbRow(*job->image, y, width, job->row);
  }
  jpeg_finish_decompress(&job->info);
  jpeg_destroy_decompress(&job->info);
  job->created = false;
  return true;
}

}  // namespace

void ReleaseJpegBytes(JpegBytes& bytes) {
  std::free(bytes.data);
  bytes = JpegBytes{};
}

bool CompressJpeg(const TiledImage& image, JpegBytes& out) {
  if (!HasPixels(image)) {
    ReleaseJpegBytes(out);
    return false;
  }
  return Compress(&image, FillFromImage, image.levels[0].width, image.levels[0].height, out);
}

bool DecompressJpeg(const std::uint8_t* data, std::size_t size, TiledImage& image) {
  if (!data || size == 0) return false;
  DecompressJob job{};
  job.data = data;
  job.size = size;
  job.image = &image;
  InstallTrap(job.trap);
  const bool ok = RunDecompress(&job);
  std::free(job.row);
  if (!ok && job.imageCreatedHere) ReleaseTiledImage(image);
  return ok;
}

}  // namespace stellane
