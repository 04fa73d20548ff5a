// Until the star and nebula renderer is built, a rendering only sets the row
// bookkeeping and leaves the host's output rows as the host delivered them.
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

void RenderRow(Globals&, std::int32_t) {}

}  // namespace stellane
