// First cut of the compositor: the rendered colour replaces the source in the
// host's output row of the filter run.
#include "glue/Compositor.h"

#include <algorithm>

namespace stellane {

void CompositeGluePixel(std::int32_t x, std::int32_t, RenderedPixel& pixel, Globals& g) {
  const ps::FilterRecord* fr = g.filterRecord;
  if (fr == nullptr || fr->outData == nullptr) return;
  const std::int32_t width = fr->outRect.right - fr->outRect.left;
  if (width <= 0) return;
  x = std::clamp(x, 0, width - 1);
  const int planes = fr->planes;
  const float rgb[3] = {pixel.red, pixel.green, pixel.blue};
  const bool grey = planes < 3;
  const int colourPlanes = grey ? 1 : 3;
  if (fr->depth == 32 || fr->imageMode == ps::plugInModeRGB96 ||
      fr->imageMode == ps::plugInModeGray32) {
    float* out = static_cast<float*>(fr->outData) + x * planes;
    for (int c = 0; c < colourPlanes; ++c) out[c] = rgb[c];
  } else if (fr->depth == 16) {
    std::uint16_t* out = static_cast<std::uint16_t*>(fr->outData) + x * planes;
    for (int c = 0; c < colourPlanes; ++c)
      out[c] = static_cast<std::uint16_t>(std::clamp(rgb[c] * 32768.0f, 0.0f, 32768.0f));
  } else {
    std::uint8_t* out = static_cast<std::uint8_t*>(fr->outData) + x * planes;
    for (int c = 0; c < colourPlanes; ++c)
      out[c] = static_cast<std::uint8_t>(std::clamp(rgb[c] * 255.0f, 0.0f, 255.0f));
  }
}

}  // namespace stellane
