// The pixel data of a PSD file, one channel at a time: rows of a channel as
// the file stores them (big-endian, 16-bit channels in 0..65535, floats as
// IEEE singles), raw or PackBits-coded, with the byte counts of coded rows.
#pragma once

#include <cstdint>
#include <vector>

#include "export/ByteSink.h"
#include "export/PsdJob.h"
#include "image/TiledImage.h"

namespace stellane {

// Channel 0..2 colour, 3 alpha. The merged picture of 8-bit and float jobs is
// the colour flattened over the 8 x 8 checkerboard (255/204, 1.0/0.8).
void PsdChannelRow(const TiledImage& image, const PsdJob& job, int channel, bool merged,
                   std::int32_t y, std::uint8_t* out);

std::size_t PsdRowBytes(const PsdJob& job);

// One channel laid out for the file: compression 0 (raw) or 1 (PackBits),
// with the coded length of every row in the second case.
struct PsdChannelPlan {
  int channel;
  bool merged;
  std::uint16_t compression;
  std::vector<std::uint16_t> rowLengths;  // PackBits only
  std::uint64_t dataBytes;                // the rows, without counts or compression word
};

// Codes every row once to learn the lengths (PackBits only when asked and
// the job is 8- or 16-bit).
PsdChannelPlan PlanPsdChannel(const TiledImage& image, const PsdJob& job, int channel, bool merged,
                              bool packBits);

// The row byte counts (PackBits), then the rows themselves; the compression
// word is the caller's.
void PutPsdRowCounts(ByteSink& sink, const PsdChannelPlan& plan);
void PutPsdChannelRows(ByteSink& sink, const TiledImage& image, const PsdJob& job,
                       const PsdChannelPlan& plan);

}  // namespace stellane
