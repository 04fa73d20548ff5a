#include "host/RequestState.h"

#include "host/FrontEnd.h"

namespace stellane {

RequestState SaveRequestState(const Globals& g, bool full) {
  const ps::FilterRecord* fr = g.filterRecord;
  const RenderParams& p = *g.params;
  RequestState s{};
  s.inRect = fr->inRect;
  s.outRect = fr->outRect;
  s.maskRect = fr->maskRect;
  s.previewZoom = p.previewZoom;
  s.rowIndex = g.rowIndex;
  s.filterTop = fr->filterRect.top;
  s.full = full;
  if (full) {
    s.previewPanX = p.previewPanX;
    s.previewPanY = p.previewPanY;
    s.renderTarget = p.renderTarget;
  }
  return s;
}

void RestoreRequestState(Globals& g, const RequestState& s) {
  ps::FilterRecord* fr = g.filterRecord;
  RenderParams& p = *g.params;
  fr->inRect = s.inRect;
  fr->outRect = s.outRect;
  fr->maskRect = s.maskRect;
  p.previewZoom = s.previewZoom;
  g.rowIndex = s.rowIndex;
  fr->filterRect.top = s.filterTop;
  if (s.full) {
    p.previewPanX = s.previewPanX;
    p.previewPanY = s.previewPanY;
    p.renderTarget = s.renderTarget;
  }
  if (TargetOf(p) == RenderTarget::kPreview) TheFrontEnd().requestPreviewArea(g, p.previewZoom);
}

}  // namespace stellane
