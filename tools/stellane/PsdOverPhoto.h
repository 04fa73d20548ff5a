// `stellane psd OUT.psd INPUT`: the photo as the bottom layer, the effect
// above it, the merged picture the filter run gives.
#pragma once

#include <cstdint>
#include <string>

#include "export/ExportRender.h"
#include "stellane/ImageMetadata.h"
#include "testhost/Image.h"

namespace cli {

// Exports `photo` (converted to `depth` bits, with the colour profile and
// resolution of `metadata`) with the effect of `run`'s parameters; says on stderr when the glue
// mode has no PSD blend mode and the effect is glued into the layer. Throws a CliError on a float
// picture with a glue mode other than normal. Returns the export's status.
std::int16_t ExportPsdWithPhoto(const stellane::ExportRun& run, const std::string& path,
                                const testhost::Image& photo, const ImageMetadata& metadata,
                                int depth, std::uint32_t starSeed);

}  // namespace cli
