#include "host/WorkArea.h"

#include <algorithm>

namespace stellane {

void SetWorkArea(Globals& g, const ps::Rect16& rect, std::int32_t samplingFactor) {
  if (g.params) g.params->previewZoom = samplingFactor;
  g.workWidth = std::max(0, rect.right - rect.left);
  g.workHeight = std::max(0, rect.bottom - rect.top);
}

void DeriveBufferSizes(Globals& g) {
  // Both terms stay far inside 32 bits: rectangles are 16-bit.
  g.bufferUnits = std::max(2 * (std::max(g.workWidth, g.workHeight) + 4), 3 * g.workWidth + 2184);
  g.filterRecord->bufferSpace = RowRingBytes(g.bufferUnits) + kBufferSpaceExtra;
}

}  // namespace stellane
