// The PSD export over a photo: the photo as the bottom layer "Background",
// the effect above it as "layer 1", and the merged picture the filter run
// gives (the effect glued onto the photo).
#pragma once

#include <cstddef>
#include <cstdint>

#include "export/ExportRender.h"

namespace stellane {

// The photo's pixels, rows top first, channels interleaved in the units of
// the export's depth: 8-bit 0..255, 16-bit 0..32768 (native byte order),
// float 0..1.
struct PsdPhoto {
  std::int32_t width;
  std::int32_t height;
  int colorPlanes;    // 1 grey, 3 RGB
  bool transparency;  // one more plane after the colour ones
  const std::uint8_t* pixels;
  std::size_t rowBytes;
  const std::uint8_t* iccProfile;  // the photo's colour profile, written unchanged; may be null
  std::size_t iccProfileSize;
  double dpi;  // 0: not stated (the file says 72)
};

// Layer 1 holds the effect as the plug-in renders it, opaque, with the blend
// mode of the glue mode where the PSD format has the same one; otherwise the
// effect already glued onto the photo, in normal mode. Both layers and the
// merged picture carry the photo's transparency. The stars of both renders
// are drawn from `starSeed`. The job (size, depth) is the filter record's
// and the parameters' as for ExportPsd and must match the photo. Statuses
// as for ExportPsd.
std::int16_t ExportPsdOverPhoto(const ExportRun& run, const char* path, const PsdPhoto& photo,
                                std::uint32_t starSeed, const ExportProgress* progress);

// Whether layer 1 carries the glue mode as its blend mode for `glue` at
// `bytesPerChannel` (float pictures take no glue: always normal).
bool PsdLayerBlendsInEditor(std::int32_t glue, std::int32_t bytesPerChannel);

}  // namespace stellane
