#include "export/PsdPhotoExport.h"

#include <cstring>

#include "export/ByteSink.h"
#include "export/PsdBlendKeys.h"
#include "export/PsdExport.h"
#include "export/PsdWriter.h"
#include "glue/GlueNames.h"
#include "image/TiledImage.h"
#include "render/CrtRandom.h"

namespace stellane {

namespace {

constexpr auto kNormalGlue = std::int32_t(GlueMode::kNormal);

// Float pictures take no glue mode: the rendered layer replaces the picture.
std::int32_t EffectiveGlue(std::int32_t glue, std::int32_t bytesPerChannel) {
  return bytesPerChannel == 4 ? kNormalGlue : glue;
}

float PhotoSample(const PsdPhoto& photo, std::int32_t x, std::int32_t y, int plane, int bytes) {
  const int planes = photo.colorPlanes + (photo.transparency ? 1 : 0);
  const std::uint8_t* p = photo.pixels + std::size_t(y) * photo.rowBytes +
                          (std::size_t(x) * planes + std::size_t(plane)) * std::size_t(bytes);
  if (bytes == 1) return *p;
  if (bytes == 2) {
    std::uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  float v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

enum class PhotoPart { kColourAndAlpha, kAlphaOnly };

// Writes the photo's colour and transparency (full where it has none) into
// `image`, or only its transparency over what the image holds.
void PutPhoto(TiledImage& image, const PsdPhoto& photo, int bytes, PhotoPart part) {
  const float full = bytes == 1 ? 255.0f : bytes == 2 ? 32768.0f : 1.0f;
  // Float images hold full intensity as their maxValue; integer ones raw.
  const float scale = bytes == 4 ? image.maxValue : 1.0f;
  for (std::int32_t y = 0; y < photo.height; ++y)
    for (std::int32_t x = 0; x < photo.width; ++x) {
      float four[4];
      ReadChannelsFloat(image, x, y, 0, four);
      if (part == PhotoPart::kColourAndAlpha)
        for (int c = 0; c < 3; ++c)
          four[c] = PhotoSample(photo, x, y, photo.colorPlanes == 1 ? 0 : c, bytes) * scale;
      four[3] =
          (photo.transparency ? PhotoSample(photo, x, y, photo.colorPlanes, bytes) : full) * scale;
      WriteChannelsFloat(image, x, y, 0, four);
    }
}

// Renders into `image` with `glue`, the stars drawn from `seed`.
std::int16_t RenderWithGlue(const ExportRun& run, TiledImage& image, std::int32_t glue,
                            std::uint32_t seed, const ExportProgress* progress) {
  RenderParams params = *run.job.params;
  params.glue = glue;
  RenderJob job = run.job;
  job.params = &params;
  CrtSrand(seed);
  return ExportResult(RenderIntoImage(job, image, progress));
}

struct Images {
  TiledImage background, effect, merged;
  explicit Images(const BlockSource& blocks) {
    InitTiledImage(background, blocks);
    InitTiledImage(effect, blocks);
    InitTiledImage(merged, blocks);
  }
  ~Images() {
    ReleaseTiledImage(background);
    ReleaseTiledImage(effect);
    ReleaseTiledImage(merged);
  }
};

}  // namespace

bool PsdLayerBlendsInEditor(std::int32_t glue, std::int32_t bytesPerChannel) {
  return PsdBlendKeyForGlue(EffectiveGlue(glue, bytesPerChannel)) != nullptr;
}

std::int16_t ExportPsdOverPhoto(const ExportRun& run, const char* path, const PsdPhoto& photo,
                                std::uint32_t starSeed, const ExportProgress* progress) {
  if (path == nullptr || *path == '\0') return kExportNotStarted;
  if (!run.job.params) return kExportNoImage;
  PsdJob job =
      MakePsdJob(run.job.destination.kind, run.imageWidth, run.imageHeight, *run.job.params);
  job.layerCount = 2;
  if (!PsdJobSizeValid(job)) return kExportTooLarge;
  if (job.width != photo.width || job.height != photo.height) return kExportNotStarted;
  const int bytes = job.bytesPerChannel;
  const std::int32_t format = PsdImageFormat(job);

  Images images(run.job.blocks);
  if (!CreateTiledImage(images.background, job.width, job.height, format) ||
      !CreateTiledImage(images.effect, job.width, job.height, format) ||
      !CreateTiledImage(images.merged, job.width, job.height, format))
    return kExportNoImage;
  PutPhoto(images.background, photo, bytes, PhotoPart::kColourAndAlpha);
  PutPhoto(images.merged, photo, bytes, PhotoPart::kColourAndAlpha);

  // The merged picture is the filter run's: the glue reads the photo from
  // the image it writes. The effect alone is the same rendering glued
  // "normal" over nothing, with the same stars.
  const std::int32_t glue = EffectiveGlue(run.job.params->glue, bytes);
  const char* key = PsdBlendKeyForGlue(glue);
  std::int16_t status = RenderWithGlue(run, images.merged, glue, starSeed, progress);
  if (status == kExportDone && key != nullptr)
    status = RenderWithGlue(run, images.effect, kNormalGlue, starSeed, progress);
  if (status != kExportDone) return status;
  // The renders leave the rendered alpha; the picture's transparency is the
  // photo's, and the filter run's output keeps it.
  PutPhoto(images.merged, photo, bytes, PhotoPart::kAlphaOnly);
  if (key != nullptr) PutPhoto(images.effect, photo, bytes, PhotoPart::kAlphaOnly);

  const PsdLayer layers[2] = {{&images.background, "Background", "norm"},
                              {key != nullptr ? &images.effect : &images.merged, kPsdLayerName,
                               key != nullptr ? key : "norm"}};
  ByteSink sink;
  if (!OpenFileSink(sink, path)) return kExportFileNotCreated;
  PsdExtras extras{photo.iccProfile, photo.iccProfileSize, {}, true};
  if (photo.dpi > 0) extras.dpi = photo.dpi;
  TodayAsIptcDate(extras.date);
  const PsdWriteStatus written = WritePsdLayers(job, layers, images.merged, extras, sink);
  if (written != PsdWriteStatus::kOk) {
    DiscardFileSink(sink);
    return written == PsdWriteStatus::kTooLarge ? kExportTooLarge : kExportFileNotWritten;
  }
  return CloseFileSink(sink) ? kExportDone : kExportFileNotWritten;
}

}  // namespace stellane
