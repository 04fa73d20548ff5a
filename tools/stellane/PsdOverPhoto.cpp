#include "stellane/PsdOverPhoto.h"

#include <cstdio>

#include "export/PsdPhotoExport.h"
#include "glue/GlueNames.h"
#include "stellane/CliError.h"
#include "stellane/ImageFiles.h"

namespace cli {

std::int16_t ExportPsdWithPhoto(const stellane::ExportRun& run, const std::string& path,
                                const testhost::Image& photo, const ImageMetadata& metadata,
                                int depth, std::uint32_t starSeed) {
  const std::int32_t glue = run.job.params->glue;
  const char* name = stellane::GlueModeName(glue);
  if (depth == 32 && glue != std::int32_t(stellane::GlueMode::kNormal))
    UsageError(std::string("float pictures take no glue mode; for \"") + (name ? name : "?") +
               "\" over the photo use --depth 16");
  if (!stellane::PsdLayerBlendsInEditor(glue, depth / 8))
    std::fprintf(stderr,
                 "stellane: note: the glue mode \"%s\" has no PSD blend mode of the same "
                 "formula; layer 1 holds the effect glued onto the photo, in normal mode\n",
                 name ? name : "?");
  const testhost::Image pixels = ConvertDepth(photo, depth);
  const stellane::PsdPhoto source{
      pixels.width,       pixels.height,     pixels.colorPlanes,         pixels.transparency,
      pixels.data.data(), pixels.RowBytes(), metadata.iccProfile.data(), metadata.iccProfile.size(),
      metadata.xDpi};
  return stellane::ExportPsdOverPhoto(run, path.c_str(), source, starSeed, nullptr);
}

}  // namespace cli
