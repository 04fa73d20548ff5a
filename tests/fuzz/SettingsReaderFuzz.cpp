// Any bytes as a settings file: the reader must stay inside the data and
// inside the thumbnail image, in both of its modes.
#include <cstddef>
#include <cstdint>

#include "image/TiledImage.h"
#include "params/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace stellane;
  static TiledImage thumbnail = [] {
    TiledImage image;
    InitTiledImage(image);
    CreateTiledImage(image, kThumbnailSide, kThumbnailSide, 3);
    return image;
  }();
  RenderParams params;
  InitNewRenderParams(params);
  const SettingsReadResult values =
      ReadSettingsBytes(data, size, SettingsReadMode::Values, params, &thumbnail);
  const SettingsReadResult thumbnailOnly =
      ReadSettingsBytes(data, size, SettingsReadMode::ThumbnailOnly, params, &thumbnail);
  // Both modes find the same thumbnail, and its size never exceeds the image's.
  if (values.thumbnailPresent != thumbnailOnly.thumbnailPresent) __builtin_trap();
  if (values.thumbnailWidth > kThumbnailSide || values.thumbnailHeight > kThumbnailSide)
    __builtin_trap();
  return 0;
}
