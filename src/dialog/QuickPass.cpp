// The quick pass shown while the preview is dragged: the unfiltered source
// through the selection mask over a grey checkerboard, no rendering.
#include "dialog/MainDialog.h"
#include "host/RenderJobs.h"

namespace stellane {

namespace {

template <class Sample>
const Sample* RowOf(const void* base, std::int32_t rowBytes, std::int32_t y) {
  return reinterpret_cast<const Sample*>(static_cast<const std::uint8_t*>(base) +
                                         std::intptr_t{y} * rowBytes);
}

// The selection at (x, y) of the output area: 255 without a mask, 0 outside
// the delivered mask.
std::int32_t MaskAt(const ps::FilterRecord* fr, std::int32_t x, std::int32_t y) {
  if (!fr->haveMask) return 255;
  const ps::Rect16& m = fr->maskRect;
  if (!fr->maskData || x < 0 || y < 0 || x >= m.right - m.left || y >= m.bottom - m.top) return 0;
  return RowOf<std::uint8_t>(fr->maskData, fr->maskRowBytes, y)[x];
}

template <class Sample, bool kSixteen>
void Pass(const ps::FilterRecord* fr, std::int32_t y) {
  const std::int32_t width = fr->outRect.right - fr->outRect.left;
  const std::int32_t inPlanes = fr->inHiPlane - fr->inLoPlane + 1;
  const std::int32_t outPlanes = fr->outHiPlane - fr->outLoPlane + 1;
  const std::int32_t colours = outPlanes >= 3 && inPlanes >= 3 ? 3 : 1;
  const bool transparency = (fr->filterCase == 4 || fr->filterCase == 5) &&
                            outPlanes == colours + 1 && inPlanes == colours + 1;
  const Sample* in = RowOf<Sample>(fr->inData, fr->inRowBytes, y);
  Sample* out = const_cast<Sample*>(RowOf<Sample>(fr->outData, fr->outRowBytes, y));
  const std::int32_t light = kSixteen ? 32640 : 255;
  const std::int32_t dark = kSixteen ? 26112 : 204;
  const std::int32_t opaque = kSixteen ? 32768 : 255;
  for (std::int32_t x = 0; x < width; ++x) {
    std::int32_t m = MaskAt(fr, x, y);
    const Sample* s = in + x * inPlanes;
    Sample* o = out + x * outPlanes;
    if (transparency) {
      m = m * s[colours] / (kSixteen ? 32768 : 256);
      o[colours] = static_cast<Sample>(opaque);
    }
    const std::int32_t checker = ((x & 8) ^ (y & 8)) ? dark : light;
    if (kSixteen) {
      for (int c = 0; c < colours; ++c)
        o[c] = static_cast<Sample>((checker * (255 - m) + m * s[c]) / 256);
    } else {
      if (m > 127) ++m;
      for (int c = 0; c < colours; ++c)
        o[c] = static_cast<Sample>((checker * (256 - m) + m * s[c]) / 256);
    }
  }
}

}  // namespace

void QuickPassRow(Globals& g, std::int32_t row) {
  const ps::FilterRecord* fr = g.filterRecord;
  if (!fr->inData || !fr->outData || row < 0 || row >= fr->outRect.bottom - fr->outRect.top) return;
  switch (ImageKindOf(*fr)) {
    case ImageKind::k8:
      Pass<std::uint8_t, false>(fr, row);
      break;
    case ImageKind::k16:
      Pass<std::uint16_t, true>(fr, row);
      break;
    default:
      break;  // float images keep their last rendering
  }
}

}  // namespace stellane
