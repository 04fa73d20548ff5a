// Creation, release and pixel access of the tiled image.
#include "image/TiledImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "image/TiledImagePixels.h"

namespace stellane {

namespace {

struct FormatInfo {
  std::int32_t bytesPerPixel;  // 0: no pixels
  std::int32_t channels;
  std::int32_t bytesPerChannel;
  float maxValue;
};

FormatInfo DescribeFormat(std::int32_t format) {
  switch (format) {
    case kFormatGrey8:
      return {1, 1, 1, 255.0f};
    case kFormatGrey16:
      return {2, 1, 2, 32768.0f};
    case kFormatGreyFixed16:
      return {2, 1, 2, 1.0f};
    case kFormatPacked8:
      return {4, 4, 1, 255.0f};
    case kFormatRgba16:
      return {8, 4, 2, 32768.0f};
    case kFormatGreyFloat:
      return {4, 1, 4, 1.0f};
    case kFormatRgbFixed16:
      return {6, 3, 2, 1.0f};
    case kFormatRgbaFloat:
      return {16, 4, 4, 1.0f};
    default:
      return {0, 0, 0, 1.0f};
  }
}

std::int32_t CeilDiv(std::int32_t a, std::int32_t b) { return (a + b - 1) / b; }

// Fills the level table's sizes; false when 1 x 1 is not reached within
// kMaxImageLevels levels.
bool ComputeLevelSizes(TiledImage& image, std::int32_t width, std::int32_t height) {
  std::int32_t w = width, h = height;
  image.levels[0].width = w;
  image.levels[0].height = h;
  for (std::int32_t level = 1; level < kMaxImageLevels; ++level) {
    w = NextLevelSize(w);
    h = NextLevelSize(h);
    image.levels[level].width = w;
    image.levels[level].height = h;
    if (w == 1 && h == 1) {
      image.lastLevel = level;
      return true;
    }
  }
  return false;
}

void CompleteLevel(ImageLevel& lv, std::int32_t border) {
  lv.width += border;
  lv.height += border;
  lv.maxX = lv.width - 1;
  lv.maxY = lv.height - 1;
  lv.maxXf = float(lv.maxX);
  lv.maxYf = float(lv.maxY);
  lv.widthF = float(lv.width);
  lv.heightF = float(lv.height);
  lv.invWidth = 1.0f / lv.widthF;
  lv.invHeight = 1.0f / lv.heightF;
  lv.tileColumns = CeilDiv(lv.width, kTileSide);
}

void ClearShape(TiledImage& image) {
  image.tableBlock = MemoryBlock{};
  image.tiles = nullptr;
  image.tileCount = 0;
  image.lastLevel = 0;
  image.displayLevel = 0;
  image.pyramidState = 0;
  std::memset(image.levels, 0, sizeof image.levels);
}

bool ValidLevel(const TiledImage& image, std::int32_t level) {
  return image.tileCount > 0 && level >= 0 && level <= image.lastLevel;
}

// Clamps a read position into the image; false when there is nothing to read.
bool ClampRead(const TiledImage& image, std::int32_t& x, std::int32_t& y, std::int32_t& level) {
  if (image.tileCount <= 0) return false;
  level = std::clamp(level, 0, image.lastLevel);
  const ImageLevel& lv = image.levels[level];
  x = std::clamp(x, 0, lv.maxX);
  y = std::clamp(y, 0, lv.maxY);
  return true;
}

bool InsideForWrite(const TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level) {
  if (!ValidLevel(image, level)) return false;
  const ImageLevel& lv = image.levels[level];
  return x >= 0 && y >= 0 && x <= lv.maxX && y <= lv.maxY;
}

}  // namespace

std::int32_t NextLevelSize(std::int32_t size) {
  std::int32_t next = size / 2 + (size & 1);
  if (next >= 3 && (next & 1)) ++next;
  return next;
}

void InitTiledImage(TiledImage& image, const BlockSource& blocks) {
  image = TiledImage{};
  image.blocks = blocks;
  ClearShape(image);
  image.maxValue = 1.0f;
  image.invMaxValue = 1.0f;
}

void ReleaseTiledImage(TiledImage& image) {
  if (image.tiles) {
    for (std::int32_t i = 0; i < image.tileCount; ++i) {
      ReleaseBlock(image.blocks, image.tiles[i].block);
    }
  }
  ReleaseBlock(image.blocks, image.tableBlock);
  ClearShape(image);
}

bool CreateTiledImage(TiledImage& image, std::int32_t width, std::int32_t height,
                      std::int32_t format, bool bordered) {
  if (width < 1 || height < 1) return false;
  ReleaseTiledImage(image);

  const FormatInfo info = DescribeFormat(format);
  image.format = format;
  image.channels = info.channels;
  image.bytesPerChannel = info.bytesPerChannel;
  image.maxValue = info.maxValue;
  image.invMaxValue = 1.0f / info.maxValue;
  image.bordered = bordered;
  // A bordered pixel takes 4 bytes, or more when the format needs more.
  image.bytesPerPixel =
      bordered ? std::max<std::int32_t>(4, info.bytesPerPixel) : info.bytesPerPixel;
  if (info.bytesPerPixel == 0) return false;
  if (width > INT32_MAX - 2 || height > INT32_MAX - 2) return false;
  if (!ComputeLevelSizes(image, width, height)) {
    ClearShape(image);
    return false;
  }
  image.displayLevel = std::max(0, image.lastLevel - 3);

  const std::int32_t border = bordered ? 2 : 0;
  std::int64_t tileCount = 0;
  for (std::int32_t level = 0; level <= image.lastLevel; ++level) {
    ImageLevel& lv = image.levels[level];
    CompleteLevel(lv, border);
    lv.firstTile = std::int32_t(tileCount);
    tileCount += std::int64_t(lv.tileColumns) * CeilDiv(lv.height, kTileSide);
    if (tileCount > INT32_MAX / std::int64_t(sizeof(ImageTile))) {
      ClearShape(image);
      return false;
    }
  }

  // The table, every entry cleared.
  const std::int32_t tableBytes = std::int32_t(tileCount * std::int64_t(sizeof(ImageTile)));
  if (!AllocateBlock(image.blocks, tableBytes, image.tableBlock)) {
    ClearShape(image);
    return false;
  }
  image.tiles = static_cast<ImageTile*>(image.tableBlock.data);
  for (std::int64_t i = 0; i < tileCount; ++i) new (&image.tiles[i]) ImageTile{};

  // Every tile; tileCount grows as blocks arrive so that a failure releases
  // exactly the blocks obtained.
  for (std::int32_t level = 0; level <= image.lastLevel; ++level) {
    const ImageLevel& lv = image.levels[level];
    const std::int32_t rows = CeilDiv(lv.height, kTileSide);
    for (std::int32_t row = 0; row < rows; ++row) {
      for (std::int32_t column = 0; column < lv.tileColumns; ++column) {
        ImageTile& tile = image.tiles[image.tileCount];
        tile.top = row * kTileSide;
        tile.left = column * kTileSide;
        tile.width = std::min(kTileSide, lv.width - tile.left);
        tile.height = std::min(kTileSide, lv.height - tile.top);
        const std::int32_t bytes = tile.width * tile.height * image.bytesPerPixel;
        if (!AllocateBlock(image.blocks, bytes, tile.block)) {
          ReleaseTiledImage(image);
          return false;
        }
        // Host blocks need not come zeroed.
        std::memset(tile.block.data, 0, std::size_t(bytes));
        tile.pixels = static_cast<std::uint8_t*>(tile.block.data);
        ++image.tileCount;
      }
    }
  }

  const ImageLevel& top = image.levels[0];
  image.aspect = top.width > top.height   ? top.widthF / top.heightF
                 : top.height > top.width ? top.heightF / top.widthF
                                          : 1.0f;
  image.pyramidState = 0;
  return true;
}

void ReadChannels(const TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                  std::int32_t out[4]) {
  out[0] = out[1] = out[2] = out[3] = 0;
  if (!ClampRead(image, x, y, level)) return;
  const std::uint8_t* p = pixels::Address(image, x, y, level);
  if (pixels::IsFloatFormat(image.format)) {
    float f[4];
    pixels::LoadFloats(image.format, p, f);
    for (int c = 0; c < 4; ++c) out[c] = pixels::SaturatingTruncate(f[c]);
  } else {
    pixels::LoadInts(image.format, p, out);
  }
}

void ReadChannelsFloat(const TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                       float out[4]) {
  out[0] = out[1] = out[2] = out[3] = 0.0f;
  if (!ClampRead(image, x, y, level)) return;
  const std::uint8_t* p = pixels::Address(image, x, y, level);
  if (pixels::IsFloatFormat(image.format)) {
    pixels::LoadFloats(image.format, p, out);
    return;
  }
  std::int32_t v[4];
  pixels::LoadInts(image.format, p, v);
  const float scale = pixels::IsFixedPointFormat(image.format) ? 1.0f / 65535.0f : 1.0f;
  for (int c = 0; c < 4; ++c) out[c] = float(v[c]) * scale;
}

std::uint32_t ReadPacked(const TiledImage& image, std::int32_t x, std::int32_t y,
                         std::int32_t level) {
  if (!ClampRead(image, x, y, level)) return 0;
  const std::uint8_t* p = pixels::Address(image, x, y, level);
  if (image.format == kFormatPacked8) return pixels::Load<std::uint32_t>(p);
  if (image.format == kFormatGrey8) return PackChannels(p[0], p[0], p[0], 255);
  return 0;
}

void WriteChannels(TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                   const std::int32_t in[4]) {
  if (!InsideForWrite(image, x, y, level)) return;
  std::uint8_t* p = pixels::Address(image, x, y, level);
  image.pyramidState = 0;
  if (pixels::IsFloatFormat(image.format)) {
    const float f[4] = {float(in[0]), float(in[1]), float(in[2]), float(in[3])};
    pixels::StoreFloats(image.format, p, f);
    return;
  }
  const std::int32_t top = pixels::StorageMax(image.format);
  std::int32_t v[4];
  for (int c = 0; c < 4; ++c) v[c] = std::clamp(in[c], 0, top);
  pixels::StoreInts(image.format, p, v);
}

void WriteChannelsFloat(TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                        const float in[4]) {
  if (!InsideForWrite(image, x, y, level)) return;
  std::uint8_t* p = pixels::Address(image, x, y, level);
  image.pyramidState = 0;
  if (pixels::IsFloatFormat(image.format)) {
    pixels::StoreFloats(image.format, p, in);
    return;
  }
  const float scale = pixels::IsFixedPointFormat(image.format) ? 65535.0f : 1.0f;
  const float top = float(pixels::StorageMax(image.format));
  std::int32_t v[4];
  for (int c = 0; c < 4; ++c) {
    const float f = in[c] * scale;
    // NaN and negatives give 0.
    v[c] = f > 0.0f ? std::int32_t(std::floor(std::min(f, top) + 0.5f)) : 0;
  }
  pixels::StoreInts(image.format, p, v);
}

void WritePacked(TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                 std::uint32_t word) {
  if (image.format != 3 || !InsideForWrite(image, x, y, level)) return;
  pixels::Store<std::uint32_t>(pixels::Address(image, x, y, level), word);
  image.pyramidState = 0;
}

}  // namespace stellane
