#include "stellane/SettingsThumbnail.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "image/TiledImage.h"
#include "params/SettingsFile.h"
#include "stellane/CliError.h"
#include "stellane/OutputFile.h"

namespace cli {

namespace {

// A TiledImage released when it goes out of scope.
struct ScopedTiledImage {
  stellane::TiledImage image;
  ScopedTiledImage() { stellane::InitTiledImage(image); }
  ~ScopedTiledImage() { stellane::ReleaseTiledImage(image); }
};

constexpr int kSide = stellane::kThumbnailSide;

}  // namespace

void WriteSettingsWithThumbnail(const std::string& path, const stellane::RenderParams& params,
                                const testhost::Image& picture) {
  ScopedTiledImage thumbnail;
  if (stellane::CreateTiledImage(thumbnail.image, kSide, kSide, 3)) {
    const int side = std::min(picture.width, picture.height);
    const int left = (picture.width - side) / 2, top = (picture.height - side) / 2;
    const double scale = 255.0 / picture.MaxValue();
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) {
        const int px = left + x * side / kSide, py = top + y * side / kSide;
        std::int32_t rgba[4] = {0, 0, 0, 255};
        for (int c = 0; c < 3; ++c) {
          const double v = picture.Get(px, py, picture.colorPlanes == 1 ? 0 : c) * scale + 0.5;
          rgba[c] = std::int32_t(testhost::ClampSample(v, 255.0));
        }
        stellane::WriteChannels(thumbnail.image, x, y, 0, rgba);
      }
  }
  const int status = stellane::WriteSettingsFile(path.c_str(), params, &thumbnail.image);
  if (status != 0) Fail("cannot write " + path + SystemReason());
}

testhost::Image ReadSettingsThumbnail(const std::string& path) {
  ScopedTiledImage thumbnail;
  if (!stellane::CreateTiledImage(thumbnail.image, kSide, kSide, 3)) Fail("out of memory");
  stellane::RenderParams ignored{};
  const stellane::SettingsReadResult read = stellane::ReadSettingsFile(
      path.c_str(), stellane::SettingsReadMode::ThumbnailOnly, ignored, &thumbnail.image);
  if (read.status != 0) Fail("cannot open " + path + ": " + std::strerror(errno));
  if (read.version == 0) Fail(path + ": not a Stellane settings file");
  if (!read.thumbnailPresent || read.thumbnailWidth < 1 || read.thumbnailHeight < 1)
    Fail(path + ": the settings file holds no thumbnail");
  testhost::Image out = testhost::Image::Make(read.thumbnailWidth, read.thumbnailHeight, 3, 8);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      std::int32_t rgba[4];
      stellane::ReadChannels(thumbnail.image, x, y, 0, rgba);
      for (int c = 0; c < 3; ++c) out.Set(x, y, c, rgba[c]);
    }
  return out;
}

}  // namespace cli
