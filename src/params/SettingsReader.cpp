// Reading settings files of every version from 1 to 50. The file is untrusted
// data that people trade: every item is bounds-checked, a read past the end
// leaves the field as it was, and thumbnail sizes and byte counts are
// checked before anything is allocated or copied.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "image/JpegCodec.h"
#include "params/FilePaths.h"
#include "params/ParamTable.h"
#include "params/SettingsFile.h"
#include "params/SettingsItems.h"

namespace stellane {

namespace {

// Old-style thumbnails that could not be held are passed over as this many
// bytes (a 64 x 64 RGB picture).
constexpr std::size_t kOldThumbnailSkipBytes = 12288;

struct ItemReader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos = 0;

  bool Read(std::int32_t& value) {
    if (size - pos < 4) {
      pos = size;
      return false;
    }
    const std::uint32_t u = (std::uint32_t(data[pos]) << 24) |
                            (std::uint32_t(data[pos + 1]) << 16) |
                            (std::uint32_t(data[pos + 2]) << 8) | std::uint32_t(data[pos + 3]);
    pos += 4;
    value = std::int32_t(u);
    return true;
  }

  // The next `count` bytes, or null (and the reader at its end) when fewer remain.
  const std::uint8_t* Take(std::size_t count) {
    if (size - pos < count) {
      pos = size;
      return nullptr;
    }
    const std::uint8_t* bytes = data + pos;
    pos += count;
    return bytes;
  }

  void Int(std::int32_t& field) {
    std::int32_t v;
    if (Read(v)) field = v;
  }
  void Skip() {
    std::int32_t ignored;
    Read(ignored);
  }
  // Channels are written zero-extended (the low 16 bits are the channel),
  // floats as value x 100.
  void Value(RenderParams& p, const ParamInfo& row) {
    std::int32_t v;
    if (!Read(v)) return;
    if (row.kind == ParamKind::Float)
      SetFloatParam(p, row, float(v * 0.01));
    else
      SetIntParam(p, row, v);
  }
};

// Old files stored some values the other way round. Wrapping arithmetic, as
// the stored values are whatever the file says.
std::int32_t Inverted(std::int32_t v) { return std::int32_t(100u - std::uint32_t(v)); }
std::int32_t Incremented(std::int32_t v) { return std::int32_t(std::uint32_t(v) + 1u); }

// Some values were once kept on a scale 0.3 as large; saturated so a
// hostile value cannot overflow the conversion.
std::int32_t Rescaled(std::int32_t v) {
  const double d = v / 0.3;
  if (d >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (d <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return std::int32_t(d);
}

std::int32_t ClampSide(std::int32_t side) { return std::clamp(side, 0, kThumbnailSide); }

bool CanHoldThumbnail(const TiledImage* thumbnail) { return thumbnail && HasPixels(*thumbnail); }

// Versions 22 to 39: a square of raw RGB bytes.
void ReadOldThumbnail(ItemReader& r, TiledImage* thumbnail, SettingsReadResult& result) {
  std::int32_t present = 0;
  if (!r.Read(present) || present == 0) return;
  std::int32_t side = 0;
  std::int32_t unused = 0;
  r.Int(side);
  r.Int(unused);
  side = ClampSide(side);
  if (side < 1) {
    r.Take(kOldThumbnailSkipBytes);
    return;
  }
  const std::size_t count = std::size_t(side) * std::size_t(side) * 3;
  const std::uint8_t* rgb = r.Take(count);
  if (!rgb) return;
  if (CanHoldThumbnail(thumbnail)) {
    for (std::int32_t y = 0; y < side; ++y)
      for (std::int32_t x = 0; x < side; ++x) {
        const std::uint8_t* px = rgb + (std::size_t(y) * side + x) * 3;
        WritePacked(*thumbnail, x, y, 0, PackChannels(px[0], px[1], px[2], 255));
      }
  }
  result.thumbnailPresent = true;
  result.thumbnailWidth = side;
  result.thumbnailHeight = side;
}

// Versions 40 on: presence 1, width, height, byte count, JPEG bytes. Any
// other presence value means no thumbnail we read (the block is the file's
// last, so there is nothing to pass over towards).
void ReadThumbnailBlock(ItemReader& r, TiledImage* thumbnail, SettingsReadResult& result) {
  std::int32_t present = 0;
  if (!r.Read(present) || present != 1) return;
  std::int32_t width = 0, height = 0, count = 0;
  if (!r.Read(width) || !r.Read(height) || !r.Read(count)) return;
  // Longer blocks than a 128 x 128 thumbnail ever needs are refused.
  if (count < 0 || count > kMaxThumbnailBytes) return;
  const std::uint8_t* jpeg = r.Take(std::size_t(count));
  width = ClampSide(width);
  height = ClampSide(height);
  if (!jpeg || width < 1 || height < 1) return;

  TiledImage decoded;
  InitTiledImage(decoded, thumbnail ? thumbnail->blocks : BlockSource{});
  if (!CreateTiledImage(decoded, width, height, kFormatPacked8)) return;
  if (DecompressJpeg(jpeg, std::size_t(count), decoded)) {
    if (CanHoldThumbnail(thumbnail))
      for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
          WritePacked(*thumbnail, x, y, 0, ReadPacked(decoded, x, y, 0));
    result.thumbnailPresent = true;
    result.thumbnailWidth = width;
    result.thumbnailHeight = height;
  }
  ReleaseTiledImage(decoded);
}

// Values older versions stored differently, or meant something else by.
// A conversion applies to what the version held; a reset whether it held
// the value or not.
void ConvertOldValues(std::int32_t v, RenderParams& p) {
  for (const ParamInfo& row : ParamTable()) {
    if (v >= row.old.before) continue;
    const bool held = v >= row.since;
    const std::int32_t value = GetIntParam(p, row);
    switch (row.old.rule) {
      case OldRule::Kept:
        break;
      case OldRule::Inverted:
        if (held) SetIntParam(p, row, Inverted(value));
        break;
      case OldRule::Incremented:
        if (held) SetIntParam(p, row, Incremented(value));
        break;
      case OldRule::Rescaled:
        if (held) SetIntParam(p, row, Rescaled(value));
        break;
      case OldRule::Reset:
        SetIntParam(p, row, row.old.value);
        break;
    }
  }
  // Before version 7 the second colour followed colour A1.
  if (v < 7) p.spareColor2 = p.colorA1;
}

// Walks the items version v holds, then converts older values.
void ReadValues(ItemReader& r, std::int32_t v, RenderParams& p, TiledImage* thumbnail,
                SettingsReadResult& result) {
  for (int item = kFirstValueItem; item <= kLastValueItem; ++item) {
    const SettingsItem at = SettingsItemAt(item);
    if (v < at.since) continue;
    switch (at.kind) {
      case ItemKind::Value:
        r.Value(p, *at.row);  // items 34-36 store spareColor2 again; the second copy wins
        break;
      case ItemKind::Marker:
        r.Skip();
        break;
      case ItemKind::OldThumbnailFlag:
        ReadOldThumbnail(r, thumbnail, result);
        break;
    }
  }
  ConvertOldValues(v, p);
  if (v >= 40) ReadThumbnailBlock(r, thumbnail, result);
}

}  // namespace

SettingsReadResult ReadSettingsBytes(const std::uint8_t* data, std::size_t size,
                                     SettingsReadMode mode, RenderParams& params,
                                     TiledImage* thumbnail) {
  SettingsReadResult result;
  ItemReader r{data, data ? size : 0};
  std::int32_t version = 0;
  // Versions we do not know (a damaged or foreign file) change nothing.
  if (!r.Read(version) || version < 1 || version > kSettingsVersion) return result;
  result.version = version;
  if (mode == SettingsReadMode::Values) {
    ReadValues(r, version, params, thumbnail, result);
  } else {
    // The values are walked over on a copy, so the record stays untouched.
    RenderParams scratch = params;
    ReadValues(r, version, scratch, thumbnail, result);
  }
  return result;
}

SettingsReadResult ReadSettingsFile(const char* path, SettingsReadMode mode, RenderParams& params,
                                    TiledImage* thumbnail) {
  SettingsReadResult result;
  std::FILE* file = path ? OpenFile(path, "rb") : nullptr;
  if (!file) {
    result.status = kFileNotOpened;
    return result;
  }
  // Anything past the longest valid file is never read.
  auto* bytes = static_cast<std::uint8_t*>(std::malloc(kMaxSettingsFileBytes));
  if (!bytes) {
    std::fclose(file);
    return result;
  }
  const std::size_t size = std::fread(bytes, 1, kMaxSettingsFileBytes, file);
  std::fclose(file);
  result = ReadSettingsBytes(bytes, size, mode, params, thumbnail);
  std::free(bytes);
  return result;
}

}  // namespace stellane
