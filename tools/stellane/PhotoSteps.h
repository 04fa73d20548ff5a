// The host's own steps around a filter run of a photo: the fade of the
// result towards the original, and the 16-bit copy that carries a float
// picture through a glue mode.
#pragma once

#include "testhost/Image.h"

namespace cli {

// An editor's fade of the last filter: every sample of `filtered` (the
// transparency plane too) becomes original + (filtered - original) x
// percent / 100. Both images of one shape; 100 leaves `filtered` alone.
void MixWithOriginal(const testhost::Image& original, testhost::Image& filtered, int percent);

// Float pictures take no glue mode in the plug-in. With one asked for, the
// run gets a 16-bit copy of the picture and its result is written back as
// float. A picture with values outside 0..1 (or not numbers) would lose
// them in the copy: that throws a CliError that says so.
testhost::Image SixteenBitCopyForGlue(const testhost::Image& picture, const char* glueName);

// The float picture after a run on its 16-bit `copy` that gave `result`:
// every sample the run changed, widened again; every other one (outside the
// filter rectangle, say) the original's own value.
testhost::Image FloatResultOfCopy(const testhost::Image& original, const testhost::Image& copy,
                                  const testhost::Image& result);

}  // namespace cli
