// Each glue term checked against the blend modes' published definitions,
// with b the base (the photo) and s the blend layer (the effect), 0..1:
//   normal s; multiply b s; screen b + s - b s; darken/lighten min/max;
//   difference |b - s|; exclusion b + s - 2 b s; linear dodge min(1, b + s);
//   hard light, overlay (hard light with the operands swapped), linear
//   light b + 2 s - 1, pin light.
// The glue's integer forms divide by 256 where the definitions divide by
// 255: at most two steps apart over every pair of 8-bit values. Modes left
// out, and why:
//   "difference" is b + s - 2 b s, which is exclusion, not difference;
//   "subtract" is s - b, the PSD mode b - s;
//   "dodge", "burn" and "vivid a" (vivid light) divide by 256 - s, s + 1
//   and 2 s + 1 where colour dodge, colour burn and vivid light divide by
//   1 - s, s and 2 s: near the ends of the range (about 1 % of the pairs of
//   8-bit values) the results lie up to half the range apart;
//   "hard mix" gives 0 where b + s is exactly 1, the PSD mode 1;
//   "soft light" is the quadratic form (1 - 2 s) b^2 + 2 s b, not the
//   square-root form of the PSD mode;
//   "hue", "saturation", "color" and "luminance" mix in the plug-in's own
//   HSL-based lightness, not the PSD modes' 0.3/0.59/0.11 luminosity;
//   the rest have no PSD mode at all.
#include "export/PsdBlendKeys.h"

namespace stellane {

namespace {

struct GlueKey {
  std::int32_t glue;
  const char* key;
};

constexpr GlueKey kGlueKeys[] = {
    {1, "norm"},   // normal
    {4, "smud"},   // "difference": the exclusion formula
    {5, "lite"},   // lighten
    {6, "dark"},   // darken
    {7, "lddg"},   // add: linear dodge
    {9, "mul "},   // multiply
    {10, "scrn"},  // screen
    {11, "hLit"},  // hard light
    {12, "over"},  // overlay
    {14, "smud"},  // exclusion
    {17, "lLit"},  // linear light
    {18, "pLit"},  // pin light
    {26, "diff"},  // "harsh diff": |b - s|, the PSD difference
};

}  // namespace

const char* PsdBlendKeyForGlue(std::int32_t glue) {
  for (const GlueKey& entry : kGlueKeys)
    if (entry.glue == glue) return entry.key;
  return nullptr;
}

}  // namespace stellane
