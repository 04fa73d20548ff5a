// The area being rendered and the buffer sizes derived from it.
#pragma once

#include <cstdint>

#include "host/Globals.h"

namespace stellane {

// Sets previewZoom to `samplingFactor` and the work size from `rect` (an
// inverted rectangle counts as empty).
void SetWorkArea(Globals& g, const ps::Rect16& rect, std::int32_t samplingFactor);

// bufferUnits from the work size, and the host's bufferSpace from it.
void DeriveBufferSizes(Globals& g);

constexpr std::int32_t RowRingBytes(std::int32_t bufferUnits) { return 36 * bufferUnits; }
constexpr std::int32_t kBufferSpaceExtra = 1112;

}  // namespace stellane
