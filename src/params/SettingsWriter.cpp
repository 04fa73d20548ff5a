// Writing version-50 settings files, item by item in the order of the
// parameter table, with the constant items in their places.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/JpegCodec.h"
#include "params/FilePaths.h"
#include "params/ParamTable.h"
#include "params/SettingsFile.h"
#include "params/SettingsItems.h"

namespace stellane {

namespace {

struct ItemWriter {
  std::uint8_t* out;
  std::size_t size = 0;

  void Put(std::int32_t value) {
    const std::uint32_t u = std::uint32_t(value);
    out[size++] = std::uint8_t(u >> 24);
    out[size++] = std::uint8_t(u >> 16);
    out[size++] = std::uint8_t(u >> 8);
    out[size++] = std::uint8_t(u);
  }
  void PutBytes(const std::uint8_t* bytes, std::size_t count) {
    std::memcpy(out + size, bytes, count);
    size += count;
  }
};

// Floats go to the file as value x 100 truncated toward zero. Values beyond
// what an item holds (and NaN) are pinned rather than left undefined.
std::int32_t Hundredths(float value) {
  const float scaled = value * 100.0f;
  if (std::isnan(scaled)) return 0;
  if (scaled >= 2147483648.0f) return 2147483647;
  if (scaled <= -2147483648.0f) return -2147483647 - 1;
  return std::int32_t(scaled);
}

void PutValueItem(ItemWriter& w, const RenderParams& p, int item) {
  const SettingsItem at = SettingsItemAt(item);
  switch (at.kind) {
    case ItemKind::Marker:
      return w.Put(1);
    case ItemKind::OldThumbnailFlag:
      return w.Put(0);
    case ItemKind::Value:
      break;
  }
  const ParamInfo& row = *at.row;
  w.Put(row.kind == ParamKind::Float ? Hundredths(GetFloatParam(p, row)) : GetIntParam(p, row));
}

// The thumbnail copied into a 128 x 128 image and compressed, or the single
// item 0 when that can't be done (or would not fit what a reader accepts).
void PutThumbnail(ItemWriter& w, const TiledImage* thumbnail) {
  if (!thumbnail || !HasPixels(*thumbnail)) return w.Put(0);
  TiledImage square;
  InitTiledImage(square, thumbnail->blocks);
  JpegBytes jpeg;
  bool ok = CreateTiledImage(square, kThumbnailSide, kThumbnailSide, kFormatPacked8);
  if (ok) {
    for (std::int32_t y = 0; y < kThumbnailSide; ++y)
      for (std::int32_t x = 0; x < kThumbnailSide; ++x)
        WritePacked(square, x, y, 0, ReadPacked(*thumbnail, x, y, 0));
    ok = CompressJpeg(square, jpeg) && jpeg.size <= std::size_t(kMaxThumbnailBytes);
  }
  if (ok) {
    w.Put(1);
    w.Put(kThumbnailSide);
    w.Put(kThumbnailSide);
    w.Put(std::int32_t(jpeg.size));
    w.PutBytes(jpeg.data, jpeg.size);
  } else {
    w.Put(0);
  }
  ReleaseJpegBytes(jpeg);
  ReleaseTiledImage(square);
}

}  // namespace

std::size_t EncodeSettings(const RenderParams& params, const TiledImage* thumbnail,
                           std::uint8_t* out) {
  ItemWriter w{out};
  w.Put(kSettingsVersion);
  for (int item = 2; item <= kLastValueItem; ++item) PutValueItem(w, params, item);
  PutThumbnail(w, thumbnail);
  return w.size;
}

int WriteSettingsFile(const char* path, const RenderParams& params, const TiledImage* thumbnail) {
  if (!path) return kFileNotOpened;
  // Written over from the start; an existing longer file keeps its tail,
  // which no reader looks at.
  std::FILE* file = OpenFile(path, "r+b");
  if (!file) file = OpenFile(path, "wb");
  if (!file) return kFileNotOpened;
  int status = kFileNotWritten;
  if (auto* bytes = static_cast<std::uint8_t*>(std::malloc(kMaxSettingsFileBytes))) {
    const std::size_t size = EncodeSettings(params, thumbnail, bytes);
    if (std::fwrite(bytes, 1, size, file) == size) status = 0;
    std::free(bytes);
  }
  if (std::fclose(file) != 0) status = kFileNotWritten;
  return status;
}

}  // namespace stellane
