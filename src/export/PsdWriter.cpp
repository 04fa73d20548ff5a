// Layout of the file (all big-endian):
//   header        "8BPS", version 1, six zero bytes, channels (3; 4 for 16-bit
//                 jobs), height, width, depth, mode 3 (RGB)
//   colour mode   length, then nothing, or the HDR toning block for float
//   resources     length, then the resources (PsdResources.cpp)
//   layers+masks  length, then
//                   8-bit:  layer info length, layer info, global mask length 0
//                   16/32:  layer info length 0, global mask length 0,
//                           "8BIM" "Mt16"/"Mt32" 0, "8BIM" "Lr16"/"Lr32" length,
//                           layer info padded to a multiple of 4
//   merged image  compression, (PackBits: every row's count), channel rows
// Layer info: layer count, the layer records bottom first, then each
// layer's channel data in the same order.
#include "export/PsdWriter.h"

#include <array>
#include <cstring>
#include <vector>

#include "export/PsdChannels.h"

namespace stellane {

namespace {

constexpr int kLayerChannels = 4;
// Photoshop writes the transparency channel first: ids -1, 0, 1, 2.
constexpr int kLayerChannelOrder[kLayerChannels] = {3, 0, 1, 2};
constexpr std::int16_t kLayerChannelIds[kLayerChannels] = {-1, 0, 1, 2};

// Layer record: rectangle 16, channel count 2, channel entries 4 x 6,
// "8BIM" and blend key 8, opacity, clipping, flags, filler 4, extra length 4,
// extra data: mask length 4, blending ranges length 4, name padded to 4.
// The name is a Pascal string padded to a multiple of 4 with its length byte.
std::uint32_t PaddedNameBytes(const char* name) {
  const std::uint32_t n = static_cast<std::uint32_t>(std::strlen(name)) + 1;
  return (n + 3) & ~3u;
}
std::uint32_t ExtraDataBytes(const char* name) { return 4 + 4 + PaddedNameBytes(name); }
std::uint32_t LayerRecordBytes(const char* name) {
  return 16 + 2 + kLayerChannels * 6 + 8 + 4 + 4 + ExtraDataBytes(name);
}

using LayerPlans = std::array<PsdChannelPlan, kLayerChannels>;

// A channel's stored size: compression word, row counts, rows.
std::uint64_t ChannelBytes(const PsdChannelPlan& plan) {
  return 2 + 2 * std::uint64_t(plan.rowLengths.size()) + plan.dataBytes;
}

std::uint64_t RoundUp(std::uint64_t n, std::uint64_t to) { return (n + to - 1) / to * to; }

void PutHeader(ByteSink& sink, const PsdJob& job) {
  PutText(sink, "8BPS");
  PutU16(sink, 1);
  PutZeros(sink, 6);
  PutU16(sink, job.bytesPerChannel == 2 ? 4 : 3);
  PutU32(sink, static_cast<std::uint32_t>(job.height));
  PutU32(sink, static_cast<std::uint32_t>(job.width));
  PutU16(sink, static_cast<std::uint32_t>(8 * job.bytesPerChannel));
  PutU16(sink, 3);
}

// "hdrt", version 1, the preset name "Default" with its length, then the
// toning values left at zero (Photoshop's local-adaptation defaults apply).
void PutHdrToning(ByteSink& sink) {
  std::uint8_t block[kHdrToningBytes] = {};
  std::memcpy(block, "hdrt", 4);
  block[7] = 1;
  block[11] = 7;
  std::memcpy(block + 12, "Default", 7);
  PutBytes(sink, block, sizeof block);
}

void PutColourModeData(ByteSink& sink, const PsdJob& job) {
  if (job.bytesPerChannel != 4) {
    PutU32(sink, 0);
    return;
  }
  PutU32(sink, kHdrToningBytes);
  PutHdrToning(sink);
}

void PutLayerRecord(ByteSink& sink, const PsdJob& job, const PsdLayer& layer,
                    const LayerPlans& plans) {
  PutU32(sink, 0);  // top, left, bottom, right
  PutU32(sink, 0);
  PutU32(sink, static_cast<std::uint32_t>(job.height));
  PutU32(sink, static_cast<std::uint32_t>(job.width));
  PutU16(sink, kLayerChannels);
  for (int i = 0; i < kLayerChannels; ++i) {
    PutU16(sink, static_cast<std::uint16_t>(kLayerChannelIds[i]));
    PutU32(sink, static_cast<std::uint32_t>(ChannelBytes(plans[i])));
  }
  PutText(sink, "8BIM");
  PutText(sink, layer.blendKey);
  PutU8(sink, 255);  // opacity
  PutU8(sink, 0);    // clipping: base
  PutU8(sink, 0);    // flags: visible, transparency not protected
  PutU8(sink, 0);
  PutU32(sink, ExtraDataBytes(layer.name));
  PutU32(sink, 0);  // no layer mask
  PutU32(sink, 0);  // no blending ranges
  const std::uint32_t nameLength = static_cast<std::uint32_t>(std::strlen(layer.name));
  PutU8(sink, nameLength);
  PutText(sink, layer.name);
  PutZeros(sink, PaddedNameBytes(layer.name) - 1 - nameLength);
}

void PutLayerInfo(ByteSink& sink, const PsdLayer* layers, const PsdJob& job,
                  const std::vector<LayerPlans>& plans, std::uint64_t paddedBytes) {
  const std::uint64_t start = sink.written;
  PutU16(sink, static_cast<std::uint32_t>(job.layerCount));
  for (int i = 0; i < job.layerCount; ++i) PutLayerRecord(sink, job, layers[i], plans[i]);
  for (int i = 0; i < job.layerCount; ++i) {
    for (const PsdChannelPlan& plan : plans[i]) {
      PutU16(sink, plan.compression);
      PutPsdRowCounts(sink, plan);
      PutPsdChannelRows(sink, *layers[i].pixels, job, plan);
    }
  }
  const std::uint64_t used = sink.written - start;
  if (used <= paddedBytes) PutZeros(sink, static_cast<std::size_t>(paddedBytes - used));
}

void PutMergedImage(ByteSink& sink, const TiledImage& layer, const PsdJob& job,
                    const std::vector<PsdChannelPlan>& plans) {
  PutU16(sink, plans.empty() ? 0 : plans.front().compression);
  for (const PsdChannelPlan& plan : plans) PutPsdRowCounts(sink, plan);
  for (const PsdChannelPlan& plan : plans) PutPsdChannelRows(sink, layer, job, plan);
}

}  // namespace

PsdWriteStatus WritePsd(const PsdJob& job, const TiledImage& layer, const PsdExtras& extras,
                        ByteSink& sink) {
  const PsdLayer only{&layer, kPsdLayerName, "norm"};
  return WritePsdLayers(job, &only, layer, extras, sink);
}

PsdWriteStatus WritePsdLayers(const PsdJob& job, const PsdLayer* layers, const TiledImage& merged,
                              const PsdExtras& extras, ByteSink& sink) {
  if (!PsdJobSizeValid(job) || job.layerCount < 1) return PsdWriteStatus::kTooLarge;

  std::vector<LayerPlans> layerPlans(static_cast<std::size_t>(job.layerCount));
  std::uint64_t layerInfoBytes = 2;
  for (int l = 0; l < job.layerCount; ++l) {
    layerInfoBytes += LayerRecordBytes(layers[l].name);
    for (int i = 0; i < kLayerChannels; ++i) {
      PsdChannelPlan& plan = layerPlans[std::size_t(l)][i];
      plan = PlanPsdChannel(*layers[l].pixels, job, kLayerChannelOrder[i], false, extras.packBits);
      layerInfoBytes += ChannelBytes(plan);
    }
  }
  const int mergedChannels = job.bytesPerChannel == 2 ? 4 : 3;
  std::vector<PsdChannelPlan> mergedPlans;
  for (int c = 0; c < mergedChannels; ++c) {
    mergedPlans.push_back(PlanPsdChannel(merged, job, c, true, extras.packBits));
  }

  const bool eightBit = job.bytesPerChannel == 1;
  const std::uint64_t paddedLayerInfo = RoundUp(layerInfoBytes, eightBit ? 2 : 4);
  const std::uint64_t sectionBytes =
      eightBit ? 4 + paddedLayerInfo + 4 : 4 + 4 + 12 + 12 + paddedLayerInfo;
  // Lengths are 32-bit; a larger layer needs the big-document format.
  if (sectionBytes > 0xFFFFFFFFull) return PsdWriteStatus::kTooLarge;

  std::vector<std::uint8_t> resources;
  ByteSink resourceSink = MemorySink(resources);
  PutPsdResources(resourceSink, job, extras);

  PutHeader(sink, job);
  PutColourModeData(sink, job);
  PutU32(sink, static_cast<std::uint32_t>(resources.size()));
  PutBytes(sink, resources.data(), resources.size());

  PutU32(sink, static_cast<std::uint32_t>(sectionBytes));
  if (eightBit) {
    PutU32(sink, static_cast<std::uint32_t>(paddedLayerInfo));
    PutLayerInfo(sink, layers, job, layerPlans, paddedLayerInfo);
    PutU32(sink, 0);
  } else {
    const bool isFloat = job.bytesPerChannel == 4;
    PutU32(sink, 0);
    PutU32(sink, 0);
    PutText(sink, "8BIM");
    PutText(sink, isFloat ? "Mt32" : "Mt16");
    PutU32(sink, 0);
    PutText(sink, "8BIM");
    PutText(sink, isFloat ? "Lr32" : "Lr16");
    PutU32(sink, static_cast<std::uint32_t>(paddedLayerInfo));
    PutLayerInfo(sink, layers, job, layerPlans, paddedLayerInfo);
  }

  PutMergedImage(sink, merged, job, mergedPlans);
  return sink.failed ? PsdWriteStatus::kWriteFailed : PsdWriteStatus::kOk;
}

}  // namespace stellane
