// Which glue modes a PSD layer's blend mode reproduces, so that an export
// over a photo can leave the blending to the image editor.
#pragma once

#include <cstdint>

namespace stellane {

// The PSD blend mode key of the layer mode whose published formula is the
// glue mode's (effect as the blend layer, photo as the base), or null when
// no PSD mode computes the same thing.
const char* PsdBlendKeyForGlue(std::int32_t glue);

}  // namespace stellane
