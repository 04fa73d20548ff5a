// The glue modes that take the two pixels apart into hue, saturation and
// lightness, into the CIELAB-like triple, or rotate channels against each
// other. Each replaces `rendered` (three channel values) by its result for the
// `source` pixel; both hold values 0..max of the scale.
#pragma once

#include <cstdint>

#include "glue/ChannelScale.h"

namespace stellane {

// "color", "luminance", "saturation", "hue": hue, saturation and luma, each
// picked from the rendered or the source pixel.
enum class PerceptualMix { kColor, kLuminance, kSaturation, kHue };
void PerceptualMixMode(PerceptualMix mix, std::int32_t* rendered, const std::int32_t* source,
                       const ChannelScale& k);

// "wax" (keeps the rendered pixel where it is saturated) and "wane" (where it
// is not), both near middle lightness.
void WaxWaneMode(bool wane, std::int32_t* rendered, const std::int32_t* source,
                 const ChannelScale& k);

// "north", "south", "east", "west": each channel pulled toward the source by
// a neighbouring channel of the rendered or the source pixel.
enum class Rotation { kNorth, kSouth, kEast, kWest };
void RotationMode(Rotation rotation, std::int32_t* rendered, const std::int32_t* source,
                  const ChannelScale& k);

// "frontal": hue-saturation vectors mixed by middle-lightness weights, at the
// darker of the two lightnesses.
void FrontalMode(std::int32_t* rendered, const std::int32_t* source, const ChannelScale& k);

// "parietal", "temporal", "occipital", "limbic" in the CIELAB-like space.
enum class LabMix { kParietal, kTemporal, kOccipital, kLimbic };
void LabMixMode(LabMix mix, std::int32_t* rendered, const std::int32_t* source,
                const ChannelScale& k);

// "dextrous": per channel ratio blend of source over rendered.
void DextrousMode(std::int32_t* rendered, const std::int32_t* source, const ChannelScale& k);
// "sinister": ratio blend of the source's luma over the rendered lightness.
void SinisterMode(std::int32_t* rendered, const std::int32_t* source, const ChannelScale& k);
// "anterior" (rendered hue and saturation) and "posterior" (source's): a
// screen-like curve of both perceptual lightnesses.
void AnteriorPosteriorMode(bool posterior, std::int32_t* rendered, const std::int32_t* source,
                           const ChannelScale& k);

}  // namespace stellane
