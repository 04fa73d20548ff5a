#include "export/PsdJob.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "image/TiledImage.h"

namespace stellane {

PsdJob MakePsdJob(ImageKind kind, std::int32_t imageWidth, std::int32_t imageHeight,
                  const RenderParams& params) {
  PsdJob job{};
  job.kind = 4;
  job.layerCount = 1;
  job.outputMode = params.outputMode;
  if (params.outputMode == kOutputCustomSize) {
    job.width = params.customWidth;
    job.height = params.customHeight;
  } else {
    job.width = imageWidth;
    job.height = imageHeight;
  }
  // 8-bit modes and everything the compositor does not handle: 1.
  job.bytesPerChannel = kind == ImageKind::kFloat ? 4 : kind == ImageKind::k16 ? 2 : 1;
  return job;
}

std::int32_t PsdImageFormat(const PsdJob& job) {
  return job.bytesPerChannel == 4   ? kFormatRgbaFloat
         : job.bytesPerChannel == 2 ? kFormatRgba16
                                    : kFormatPacked8;
}

bool PsdJobSizeValid(const PsdJob& job) {
  return job.width >= 1 && job.height >= 1 && job.width <= kPsdMaxSide && job.height <= kPsdMaxSide;
}

void TodayAsIptcDate(char (&date)[9]) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (const std::tm* t = std::localtime(&now)) local = *t;
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d", (local.tm_year + 1900) % 10000,
                (local.tm_mon + 1) % 100, local.tm_mday % 100);
  std::memcpy(date, text, sizeof date - 1);
  date[sizeof date - 1] = '\0';
}

}  // namespace stellane
