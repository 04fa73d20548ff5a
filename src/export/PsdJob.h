// What a PSD export writes: one RGBA layer at the job size, in the host
// image's depth, and the facts the writer stamps into the file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "glue/CompositorTargets.h"
#include "params/RenderParams.h"

namespace stellane {

// The PSD format stores at most this many pixels per side.
constexpr std::int32_t kPsdMaxSide = 30000;
// The maker's address written into the URL resource and the IPTC source.
constexpr const char* kMakerWebAddress = "https://www.quillwork.example/stellane";
constexpr const char* kProductName = "Stellane";

struct PsdJob {
  std::int32_t kind;        // always 4: a four-channel RGBA job
  std::int32_t layerCount;  // always 1
  std::int32_t width;
  std::int32_t height;
  std::int32_t outputMode;
  std::int32_t bytesPerChannel;  // 1, 2 or 4 (32-bit float)
};

// The job for the run's image and the parameters: the image's size, or the
// custom size when outputMode is kOutputCustomSize; bytes per channel by the
// image's kind (1 for anything that is neither 16-bit nor float).
PsdJob MakePsdJob(ImageKind kind, std::int32_t imageWidth, std::int32_t imageHeight,
                  const RenderParams& params);

// The off-screen image format for the job: 3, 4 or 9.
std::int32_t PsdImageFormat(const PsdJob& job);

// Whether the job fits the format: each side 1..kPsdMaxSide.
bool PsdJobSizeValid(const PsdJob& job);

// The facts of the file that do not come from the pixels.
struct PsdExtras {
  const std::uint8_t* iccProfile;  // the host's profile, written unchanged; may be null
  std::size_t iccProfileSize;
  char date[9];       // "YYYYMMDD", the IPTC creation date
  bool packBits;      // PackBits for 8- and 16-bit channel data (float stays raw)
  double dpi = 72.0;  // the resolution resource's, across and down
};

// Today's date in the IPTC form, from the local clock.
void TodayAsIptcDate(char (&date)[9]);

}  // namespace stellane
