#include "image/HostImageRead.h"

#include <algorithm>

#include "host/HostServices.h"
#include "host/RequestState.h"

namespace stellane {

namespace {

// Rows per request: about a megabyte of host buffer, at least one row.
constexpr std::int64_t kBandBytes = 1 << 20;

}  // namespace

ps::OSErr ReadHostImage(Globals& g, const ps::Rect16& area, TiledImage& image) {
  ps::FilterRecord* fr = g.filterRecord;
  const std::int32_t width = area.right - area.left;
  const std::int32_t height = area.bottom - area.top;
  if (!HasAdvanceState(fr) || !HasPixels(image) || width <= 0 || height <= 0) {
    return ps::paramErr;
  }
  const std::int32_t planes = std::max<std::int32_t>(1, fr->planes);
  const std::int32_t bytesPerChannel = fr->depth == 16 ? 2 : fr->depth == 32 ? 4 : 1;
  const std::int64_t rowBytes = std::int64_t(width) * planes * bytesPerChannel;
  const std::int32_t bandRows =
      std::int32_t(std::clamp<std::int64_t>(kBandBytes / rowBytes, 1, height));
  // Rows below the image are not needed.
  const std::int32_t rowsWanted = std::min(height, image.levels[0].height);

  const RequestState saved = SaveRequestState(g, false);
  ps::OSErr status = ps::noErr;
  for (std::int32_t y = 0; y < rowsWanted && status == ps::noErr; y += bandRows) {
    const std::int32_t rows = std::min(bandRows, rowsWanted - y);
    ps::Rect16 band = area;
    band.top = std::int16_t(area.top + y);
    band.bottom = std::int16_t(area.top + y + rows);
    fr->inRect = band;
    // Nothing is written and no mask is wanted: empty rectangles.
    fr->outRect = ps::Rect16{band.top, band.left, band.top, band.left};
    fr->maskRect = fr->outRect;
    fr->inLoPlane = 0;
    fr->inHiPlane = std::int16_t(planes - 1);
    fr->inputRate = ps::kFixedOne;
    fr->inputPadding = ps::plugInWantsEdgeReplication;
    status = AdvanceState(fr);
    if (status != ps::noErr) break;
    if (!fr->inData) {
      status = ps::paramErr;
      break;
    }
    const HostPixelArea delivered{fr->inData, fr->inRowBytes, width, rows, planes, bytesPerChannel};
    PlaceHostPixels(delivered, y, image);
  }
  RestoreRequestState(g, saved);
  return status;
}

}  // namespace stellane
