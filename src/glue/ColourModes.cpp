#include "glue/ColourModes.h"

#include <algorithm>

#include "glue/ColourSpace.h"
#include "glue/LabLookup.h"

namespace stellane {

namespace {

constexpr float kTwoPi = 6.2831855f;

Rgbf Normalised(const std::int32_t* p, const ChannelScale& k) {
  return {static_cast<float>(p[0]) * k.reciprocal, static_cast<float>(p[1]) * k.reciprocal,
          static_cast<float>(p[2]) * k.reciprocal};
}

float NormalisedLuma(const std::int32_t* p, const ChannelScale& k) {
  return static_cast<float>(LumaSum(p) >> 8) * k.reciprocal;
}

// Back to channel units, truncated; the clamp only catches rounding a hair
// outside 0..1.
std::int32_t ToChannel(float v, const ChannelScale& k) {
  return std::clamp(static_cast<std::int32_t>(v * k.maxf), 0, k.max);
}

void Store(const Rgbf& c, std::int32_t* out, const ChannelScale& k) {
  out[0] = ToChannel(c.red, k);
  out[1] = ToChannel(c.green, k);
  out[2] = ToChannel(c.blue, k);
}

Hsl PerceptualOf(const std::int32_t* p, const ChannelScale& k) {
  const Rgbf n = Normalised(p, k);
  return ToPerceptualHsl(n.red, n.green, n.blue);
}

// 1 - k^4 with k = 1 - (2 L folded at 1): 0 at black and white, 1 at L = 0.5.
float MiddleWeight(float lightness) {
  float g = 2.0f * lightness;
  if (g > 1.0f) g = 2.0f - g;
  const float k = 1.0f - g;
  return 1.0f - k * k * k * k;
}

}  // namespace

void PerceptualMixMode(PerceptualMix mix, std::int32_t* rendered, const std::int32_t* source,
                       const ChannelScale& k) {
  const Hsl r = PerceptualOf(rendered, k);
  const Hsl s = PerceptualOf(source, k);
  Rgbf out{};
  switch (mix) {
    case PerceptualMix::kColor:
      out = FromPerceptualHsl(r.hue, r.saturation, NormalisedLuma(source, k));
      break;
    case PerceptualMix::kLuminance:
      out = FromPerceptualHsl(s.hue, s.saturation, NormalisedLuma(rendered, k));
      break;
    case PerceptualMix::kSaturation:
      out = FromPerceptualHsl(s.hue, r.saturation, NormalisedLuma(source, k));
      break;
    case PerceptualMix::kHue:
      out = FromPerceptualHsl(r.hue, s.saturation, NormalisedLuma(source, k));
      break;
  }
  Store(out, rendered, k);
}

void WaxWaneMode(bool wane, std::int32_t* rendered, const std::int32_t* source,
                 const ChannelScale& k) {
  const Rgbf n = Normalised(rendered, k);
  const Hsl hsl = RgbToHsl(n.red, n.green, n.blue);
  const float kept = wane ? 1.0f - hsl.saturation : hsl.saturation;
  const float w = kept * MiddleWeight(hsl.lightness);
  for (int c = 0; c < 3; ++c) {
    rendered[c] = static_cast<std::int32_t>(static_cast<float>(source[c]) * (1.0f - w) +
                                            static_cast<float>(rendered[c]) * w);
  }
}

void RotationMode(Rotation rotation, std::int32_t* rendered, const std::int32_t* source,
                  const ChannelScale& k) {
  const std::int32_t r[3] = {rendered[0], rendered[1], rendered[2]};
  const bool fromSource = rotation == Rotation::kEast || rotation == Rotation::kWest;
  const int next = rotation == Rotation::kNorth || rotation == Rotation::kEast ? 1 : 2;
  const std::int32_t* puller = fromSource ? source : r;
  for (int c = 0; c < 3; ++c) {
    const std::int32_t p = puller[(c + next) % 3];
    rendered[c] = ((k.unit - p) * r[c] + p * source[c]) >> k.shiftUnit;
  }
}

void FrontalMode(std::int32_t* rendered, const std::int32_t* source, const ChannelScale& k) {
  const Rgbf nr = Normalised(rendered, k);
  const Rgbf ns = Normalised(source, k);
  const Hsl r = RgbToHsl(nr.red, nr.green, nr.blue);
  const Hsl s = RgbToHsl(ns.red, ns.green, ns.blue);
  const Xy vr = PolarToXY(r.hue * kTwoPi, r.saturation);
  const Xy vs = PolarToXY(s.hue * kTwoPi, s.saturation);
  const float w = MiddleWeight(s.lightness) * MiddleWeight(r.lightness);
  const Polar mixed = XYToPolar(vr.x + (vs.x - vr.x) * w, vr.y + (vs.y - vr.y) * w);
  Store(HslToRgb(mixed.angle / 6.283185307f, mixed.radius, std::min(r.lightness, s.lightness)),
        rendered, k);
}

void LabMixMode(LabMix mix, std::int32_t* rendered, const std::int32_t* source,
                const ChannelScale& k) {
  const Triple r = LabForward(rendered[0], rendered[1], rendered[2], k.eightBit);
  const Triple s = LabForward(source[0], source[1], source[2], k.eightBit);
  Triple out{};
  switch (mix) {
    case LabMix::kParietal:
    case LabMix::kTemporal:
      out.c0 = mix == LabMix::kParietal
                   ? (s.c0 * r.c0) >> k.shiftUnit
                   : k.max - (((k.max - s.c0) * (k.max - r.c0)) >> k.shiftUnit);
      out.c1 = HardLight(s.c1, r.c1, k);
      out.c2 = HardLight(s.c2, r.c2, k);
      break;
    case LabMix::kOccipital:
      out = {PinLight(r.c0, s.c0, k), PinLight(r.c1, s.c1, k), PinLight(r.c2, s.c2, k)};
      break;
    case LabMix::kLimbic:
      out = {PinLight(s.c0, r.c0, k), PinLight(s.c1, r.c1, k), PinLight(s.c2, r.c2, k)};
      break;
  }
  const Triple rgb = LabInverse(out.c0, out.c1, out.c2, k.eightBit);
  rendered[0] = rgb.c0;
  rendered[1] = rgb.c1;
  rendered[2] = rgb.c2;
}

void DextrousMode(std::int32_t* rendered, const std::int32_t* source, const ChannelScale& k) {
  for (int c = 0; c < 3; ++c) {
    const double blend = RatioBlend(static_cast<float>(source[c]) * k.reciprocal,
                                    static_cast<float>(rendered[c]) * k.reciprocal);
    rendered[c] = static_cast<std::int32_t>(static_cast<double>(k.max) * blend);
  }
}

void SinisterMode(std::int32_t* rendered, const std::int32_t* source, const ChannelScale& k) {
  const Hsl r = PerceptualOf(rendered, k);
  const float lightness = static_cast<float>(RatioBlend(NormalisedLuma(source, k), r.lightness));
  Store(FromPerceptualHsl(r.hue, r.saturation, lightness), rendered, k);
}

void AnteriorPosteriorMode(bool posterior, std::int32_t* rendered, const std::int32_t* source,
                           const ChannelScale& k) {
  const Hsl r = PerceptualOf(rendered, k);
  const Hsl s = PerceptualOf(source, k);
  const float p = r.lightness * s.lightness;
  float l = (2.0f - p) * p;
  // Near black and white the lightness is drawn back toward the chosen
  // pixel's own.
  const float e = posterior ? s.lightness : r.lightness;
  if (e > 0.8f) l = l + (e - 0.8f) * 5.0f * (e - l);
  if (e < 0.2f) l = l + (0.2f - e) * 5.0f * (e - l);
  const Hsl& keep = posterior ? s : r;
  Store(FromPerceptualHsl(keep.hue, keep.saturation, l), rendered, k);
}

}  // namespace stellane
