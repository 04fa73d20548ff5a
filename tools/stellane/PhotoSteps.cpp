#include "stellane/PhotoSteps.h"

#include <string>

#include "stellane/CliError.h"
#include "stellane/ImageFiles.h"

namespace cli {

void MixWithOriginal(const testhost::Image& original, testhost::Image& filtered, int percent) {
  if (percent >= 100) return;
  const double share = percent / 100.0;
  for (int y = 0; y < filtered.height; ++y)
    for (int x = 0; x < filtered.width; ++x)
      for (int p = 0; p < filtered.Planes(); ++p) {
        const double from = original.Get(x, y, p);
        filtered.Set(x, y, p, from + (filtered.Get(x, y, p) - from) * share);
      }
}

testhost::Image SixteenBitCopyForGlue(const testhost::Image& picture, const char* glueName) {
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      for (int p = 0; p < picture.Planes(); ++p) {
        const double v = picture.Get(x, y, p);
        if (!(v >= 0.0 && v <= 1.0))
          Fail("the float picture holds values outside 0..1 (" + std::to_string(v) + " at " +
               std::to_string(x) + "," + std::to_string(y) +
               "), which the 16-bit copy that takes the glue mode \"" + glueName +
               "\" cannot carry; use --glue normal or bring the picture into 0..1 first");
      }
  return ConvertDepth(picture, 16);
}

testhost::Image FloatResultOfCopy(const testhost::Image& original, const testhost::Image& copy,
                                  const testhost::Image& result) {
  testhost::Image out = ConvertDepth(result, 32);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      for (int p = 0; p < out.Planes(); ++p)
        if (result.Get(x, y, p) == copy.Get(x, y, p)) out.Set(x, y, p, original.Get(x, y, p));
  return out;
}

}  // namespace cli
