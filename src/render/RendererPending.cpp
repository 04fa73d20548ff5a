// Until the star and nebula renderer is built, a rendering sets the row
// bookkeeping and passes each source row through unchanged.
#include <algorithm>
#include <cstring>

#include "render/Renderer.h"

namespace stellane {

void PrepareRendering(Globals& g) {
  g.progressTotal = g.workHeight;
  g.rowIndex = 0;
  g.renderPhase = 1;
  g.loopInternally = 0;
  g.renderStarted = 1;
  g.progressDone = 0;
  g.moreRows = 1;
}

void RenderRow(Globals& g, std::int32_t) {
  const ps::FilterRecord* fr = g.filterRecord;
  if (!fr->inData || !fr->outData) {
    SetResult(g, ps::memFullErr);
    return;
  }
  const int bytesPerSample = fr->depth == 16 ? 2 : fr->depth == 32 ? 4 : 1;
  const int planes = fr->inHiPlane - fr->inLoPlane + 1;
  const int width = fr->inRect.right - fr->inRect.left;
  const std::size_t bytes = std::size_t(std::max(0, width * planes * bytesPerSample));
  std::memcpy(fr->outData, fr->inData, bytes);
}

}  // namespace stellane
