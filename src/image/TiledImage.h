// The program's one in-memory image type: a pyramid of levels (level 0 full
// size, each next level about half as wide and high, down to 1 x 1), every
// level cut into tiles of at most 512 x 512 pixels, each tile a separate
// block taken from the image's BlockSource (the host's buffer suite in the
// plug-in) or, without one, the heap.
// Callers address pixels by (x, y, level) and never see tiles.
#pragma once

#include <cstdint>

#include "image/MemoryBlocks.h"

namespace stellane {

// Pixel formats. The numbers are what images, tests and files are made with;
// 6 and 8 do not exist: creating them yields no pixels.
enum PixelFormat : std::int32_t {
  kFormatGrey8 = 0,        // 1 byte: grey, 0..255
  kFormatGrey16 = 1,       // 2 bytes: grey, 16-bit 0..32768 (the host's 16-bit range)
  kFormatGreyFixed16 = 2,  // 2 bytes: grey, unsigned 16-bit fixed point, 65535 is 1.0
  kFormatPacked8 = 3,      // 4 bytes: four 8-bit channels packed in one 32-bit word,
                           // channel 0 in bits 24-31, 1 in 16-23, 2 in 8-15, 3 in 0-7
  kFormatRgba16 = 4,       // 8 bytes: four 16-bit channels 0..32768 in channel order
  kFormatGreyFloat = 5,    // 4 bytes: grey, 32-bit float, 1.0 full
  kFormatRgbFixed16 = 7,   // 6 bytes: three unsigned 16-bit fixed-point channels, 65535 is 1.0
  kFormatRgbaFloat = 9,    // 16 bytes: four 32-bit floats in channel order, 1.0 full
};

constexpr std::int32_t kTileSide = 512;
constexpr std::int32_t kMaxImageLevels = 20;

// Pyramid state once every level above 0 has been rebuilt from level 0.
constexpr std::int32_t kPyramidBuilt = 2;

struct ImageTile {
  MemoryBlock block;
  std::uint8_t* pixels;  // block.data
  std::int32_t top;      // row x 512
  std::int32_t left;     // column x 512
  std::int32_t width;
  std::int32_t height;
};

struct ImageLevel {
  std::int32_t width;
  std::int32_t height;
  std::int32_t maxX;  // width - 1
  std::int32_t maxY;  // height - 1
  float maxXf;
  float maxYf;
  float widthF;
  float heightF;
  float invWidth;
  float invHeight;
  std::int32_t tileColumns;
  std::int32_t firstTile;  // index of the level's first tile in the table
};

struct TiledImage {
  // Where the tiles, the table and the pyramid's row buffer come from.
  BlockSource blocks;

  std::int32_t format;
  std::int32_t channels;
  std::int32_t bytesPerChannel;
  std::int32_t bytesPerPixel;
  float maxValue;  // 255, 32768 or 1.0
  float invMaxValue;
  bool bordered;  // every level two pixels wider and higher, 4 bytes a pixel

  std::int32_t lastLevel;     // the 1 x 1 level
  std::int32_t displayLevel;  // lastLevel - 3, at least 0
  ImageLevel levels[kMaxImageLevels];

  MemoryBlock tableBlock;  // holds the tile table
  ImageTile* tiles;
  std::int32_t tileCount;  // 0 when the image holds no pixels

  float aspect;               // level 0: long side / short side
  std::int32_t pyramidState;  // kPyramidBuilt after a full rebuild, 0 after writes
};

// Rectangle in pixel coordinates of level 0, right and bottom exclusive.
struct ImageRect {
  std::int32_t left;
  std::int32_t top;
  std::int32_t right;
  std::int32_t bottom;
};

// ---- Lifecycle

// Makes `image` empty, remembering where its blocks come from (no source:
// the heap).
void InitTiledImage(TiledImage& image, const BlockSource& blocks = {});

// Creates the image at the given size and format with every pixel zero,
// releasing whatever it held first. A size below 1 reports false and leaves
// the image as it was. Reports false with the image empty (every block it got
// released) when the size needs more than kMaxImageLevels levels or memory
// runs out. Formats 6, 8 and unknown codes create no pixels (false).
bool CreateTiledImage(TiledImage& image, std::int32_t width, std::int32_t height,
                      std::int32_t format, bool bordered = false);

// Frees every tile and the table; an empty image is left alone.
void ReleaseTiledImage(TiledImage& image);

inline bool HasPixels(const TiledImage& image) { return image.tileCount > 0; }

// The size of the next level from one side of the current one: half rounded
// up, then odd results of 3 or more made even.
std::int32_t NextLevelSize(std::int32_t size);

// ---- Pixel access. Reads clamp the coordinates into the level, so they never
// fail; writes outside the level are ignored. Every write marks the pyramid
// as stale. Channels beyond the format's count read as 0.

// Raw channel values of the integer formats 0, 1, 2, 3, 4, 7 (for float
// formats, the values truncated).
void ReadChannels(const TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                  std::int32_t out[4]);
// Channel values of any format as floats in the format's own units (so that
// maxValue is full intensity): the read of the float formats 5 and 9, and of 2
// and 7 (0..1).
void ReadChannelsFloat(const TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                       float out[4]);
// Format 3's packed word (format 0: the grey byte in every channel, 255 in 3).
std::uint32_t ReadPacked(const TiledImage& image, std::int32_t x, std::int32_t y,
                         std::int32_t level);

// Raw channel values, clamped to what the storage holds (0..255 for 8-bit
// formats, 0..65535 for 16-bit ones); float formats store them as given.
void WriteChannels(TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                   const std::int32_t in[4]);
// Values in the format's own units; integer formats round to nearest and clamp.
void WriteChannelsFloat(TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                        const float in[4]);
// Format 3 only (other formats ignore it).
void WritePacked(TiledImage& image, std::int32_t x, std::int32_t y, std::int32_t level,
                 std::uint32_t word);

// Packs four 8-bit channels the way format 3 stores them, and back.
constexpr std::uint32_t PackChannels(std::uint32_t c0, std::uint32_t c1, std::uint32_t c2,
                                     std::uint32_t c3) {
  return (c0 << 24) | (c1 << 16) | (c2 << 8) | c3;
}
constexpr std::uint32_t PackedChannel(std::uint32_t word, int channel) {
  return (word >> (24 - 8 * channel)) & 0xFFu;
}

// ---- Pyramid

// Recomputes levels fromLevel + 1 .. lastLevel, each from the one below, with
// the 6 x 6 integer kernel. A rebuild from level 0 sets pyramidState to
// kPyramidBuilt. Reports false, leaving the levels as they were, when the
// image holds no pixels or its small row buffer cannot be had.
bool RebuildPyramid(TiledImage& image, std::int32_t fromLevel = 0);

// Bilinear sample of one level at (x, y) in that level's pixel coordinates
// (pixel centres at whole numbers), in the format's units. Answers four
// channels for formats 3, 4 and 9, the grey value thrice and 255 for format
// 0, and zeros for other formats.
void SampleLevel(const TiledImage& image, float x, float y, std::int32_t level, float out[4]);

// Scales `sourceRect` of `source` into `destRect` of `dest` (format 3),
// sampling the pyramid level picked by the size ratio less `levelBias` and
// blending towards the next level by its fraction. Rebuilds the source's
// pyramid first when it is stale; an empty destRect does nothing else; after
// a copy the destination's pyramid is rebuilt.
void CopyScaled(TiledImage& source, TiledImage& dest, const ImageRect& sourceRect,
                const ImageRect& destRect, float levelBias);

// Linear float value to an 8-bit display value: clamp to 0..65535, square
// root, x 255, truncate, clamp to 0..255. Negative input and NaN give 0.
std::uint8_t LinearToDisplayByte(float value);

// ---- Pixels that the host delivered (its input or output buffer)

struct HostPixelArea {
  const void* data;  // first pixel of the area
  std::int32_t rowBytes;
  std::int32_t width;
  std::int32_t height;
  std::int32_t planes;           // 1 grey, 2 grey + alpha, 3 RGB, 4 RGB + alpha
  std::int32_t bytesPerChannel;  // 1, 2 (0..32768) or 4 (float)
};

// Copies the area's pixels from (left, top) on into level 0 of `image`, as
// many as fit; grey fills channels 0..2, a missing alpha is full. Area reads
// are clamped into the area. The image's format decides the conversion:
// values are carried over in units of full intensity.
void CopyHostPixels(const HostPixelArea& area, std::int32_t left, std::int32_t top,
                    TiledImage& image);
// Copies the whole area into level 0 rows destTop onwards, from column 0;
// whatever falls outside the image is ignored.
void PlaceHostPixels(const HostPixelArea& area, std::int32_t destTop, TiledImage& image);

}  // namespace stellane
