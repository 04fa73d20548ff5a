// Saving and restoring the host request while an export or a thumbnail render
// borrows the row machinery.
#pragma once

#include <cstdint>

#include "host/Globals.h"

namespace stellane {

struct RequestState {
  ps::Rect16 inRect;
  ps::Rect16 outRect;
  ps::Rect16 maskRect;
  std::int32_t previewZoom;
  std::int32_t rowIndex;
  std::int16_t filterTop;
  // Full form only.
  bool full;
  std::int32_t previewPanX;
  std::int32_t previewPanY;
  std::int32_t renderTarget;
};

RequestState SaveRequestState(const Globals& g, bool full);

// Puts the request back; a preview asks the host again for its area.
void RestoreRequestState(Globals& g, const RequestState& state);

}  // namespace stellane
