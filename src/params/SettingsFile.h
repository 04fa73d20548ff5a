// Settings files (".q9r"): one complete set of rendering values and a JPEG
// thumbnail, as big-endian 32-bit items. The writer produces version 50; the
// reader understands versions 1 to 50 and converts older values. The same
// format serves the user's files, the cached settings, the undo snapshots and
// the memory dots.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/TiledImage.h"
#include "params/RenderParams.h"

namespace stellane {

constexpr std::int32_t kSettingsVersion = 50;
constexpr std::int32_t kThumbnailSide = 128;
// The most compressed thumbnail bytes a reader accepts.
constexpr std::int32_t kMaxThumbnailBytes = 49152;
// Nothing valid is longer: 69 items, the thumbnail header and its bytes.
constexpr std::size_t kMaxSettingsFileBytes = 69 * 4 + 4 * 4 + kMaxThumbnailBytes;

// Status of a file helper: 0, 99 when the file can't be opened, 98 when it
// opened but could not be written in full.
constexpr int kFileNotOpened = 99;
constexpr int kFileNotWritten = 98;

enum class SettingsReadMode {
  Values = 0,         // the values into RenderParams, with the thumbnail
  ThumbnailOnly = 1,  // the thumbnail alone: values passed over, nothing converted
};

struct SettingsReadResult {
  int status = 0;                 // kFileNotOpened, or 0
  std::int32_t version = 0;       // 0 when the file held no usable version
  bool thumbnailPresent = false;  // a thumbnail was decoded into the image
  // The stored thumbnail size, each side clamped to 0..kThumbnailSide: the
  // part of the thumbnail image worth drawing.
  std::int32_t thumbnailWidth = 0;
  std::int32_t thumbnailHeight = 0;
};

// Reads a settings file held in memory. `thumbnail` (the 128 x 128 settings
// thumbnail image, format 3) receives the stored thumbnail when it holds
// pixels; it may be null. Values a version lacks, items past the end of the
// data and versions outside 1..50 leave `params` as it was.
SettingsReadResult ReadSettingsBytes(const std::uint8_t* data, std::size_t size,
                                     SettingsReadMode mode, RenderParams& params,
                                     TiledImage* thumbnail);

// Encodes the version-50 layout into `out` (at least kMaxSettingsFileBytes)
// and returns the byte count. The thumbnail block holds `thumbnail` compressed
// at 128 x 128 when it has pixels and compresses, else the single item 0.
std::size_t EncodeSettings(const RenderParams& params, const TiledImage* thumbnail,
                           std::uint8_t* out);

// The same on files. Writing creates a missing file and writes over an
// existing one from its start (without shortening it); it returns 0,
// kFileNotOpened or kFileNotWritten.
SettingsReadResult ReadSettingsFile(const char* path, SettingsReadMode mode, RenderParams& params,
                                    TiledImage* thumbnail);
int WriteSettingsFile(const char* path, const RenderParams& params, const TiledImage* thumbnail);

}  // namespace stellane
