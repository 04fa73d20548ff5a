// The PSD file of an export job: header, colour mode data, image resources,
// one layer "layer 1" with transparency, and the merged picture. Every
// length is counted from the layout before the section is written.
#pragma once

#include "export/ByteSink.h"
#include "export/PsdJob.h"
#include "image/TiledImage.h"

namespace stellane {

enum class PsdWriteStatus {
  kOk,
  kTooLarge,     // a side outside 1..kPsdMaxSide, or a section past 4 GB
  kWriteFailed,  // the sink did not take every byte
};

// Writes the whole file for `layer` (level 0, the job's format and size).
PsdWriteStatus WritePsd(const PsdJob& job, const TiledImage& layer, const PsdExtras& extras,
                        ByteSink& sink);

// One layer of a document: its pixels (level 0, the job's format and size),
// its name and its four-letter blend mode key ("norm", "scrn", ...).
struct PsdLayer {
  const TiledImage* pixels;
  const char* name;
  const char* blendKey;
};

// The same for several layers, bottom first (job.layerCount of them), and
// the merged picture taken from `merged`.
PsdWriteStatus WritePsdLayers(const PsdJob& job, const PsdLayer* layers, const TiledImage& merged,
                              const PsdExtras& extras, ByteSink& sink);

// The colour mode data of float jobs: the HDR toning block.
constexpr std::uint32_t kHdrToningBytes = 74;
// The layer's name.
constexpr const char* kPsdLayerName = "layer 1";

// The image resources section's content, for tests and the writer alike.
void PutPsdResources(ByteSink& sink, const PsdJob& job, const PsdExtras& extras);

}  // namespace stellane
