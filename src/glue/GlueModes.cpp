// One dispatch on the mode number; each case holds only its mode's term. The
// per-channel modes are written once with the constants of ChannelScale, so
// the 16-bit path is the 8-bit formula with 255/256 -> 32768, 128 -> 16384,
// >> 8 -> >> 15 and >> 7 -> >> 14. The rows whose 16-bit form differs from
// that substitution test `k.eightBit` in their helper.
#include "glue/GlueModes.h"

#include <algorithm>
#include <cstdlib>

#include "glue/ChannelScale.h"
#include "glue/ColourModes.h"

namespace stellane {

namespace {

using Value = std::int32_t;

Value ProceduralWeight(Value i) { return i < 128 ? 2 * i : 511 - 2 * i; }

Value ProceduralPlus(Value r, Value s, const ChannelScale& k, const Value* weights) {
  if (k.eightBit) {
    const Value t = weights != nullptr ? weights[s] : ProceduralWeight(s);
    return (t * r + (255 - t) * s) >> 8;
  }
  // No table in 16 bits: the rendered value gets at most half weight.
  const Value w = s < 16384 ? s / 2 : 16384 - s / 2;
  return (r * w + (16384 - w) * s) >> 14;
}

Value Difference(Value r, Value s, const ChannelScale& k) {
  return ((k.max - r) * s + (k.max - s) * r) >> k.shiftUnit;
}

// Differs from "difference" by 256 in place of 255 in one term (8 bits only).
Value Exclusion(Value r, Value s, const ChannelScale& k) {
  return ((k.max - s) * r + (k.unit - r) * s) >> k.shiftUnit;
}

Value Superlay(Value r, Value s, const ChannelScale& k) {
  const Value m = k.max - ((r * s) >> k.shiftUnit);
  const Value q = (m * m) >> k.shiftUnit;
  const Value u = k.max - q;
  const Value v = k.max - (((k.max - r) * s) >> k.shiftUnit) - r;
  const Value w = (v * v) >> k.shiftUnit;
  if (u < k.half) return ((k.max - w) * u) >> k.shiftHalf;
  return k.max - ((w * q) >> k.shiftHalf);
}

// The 8-bit "vivid a" before its clamp.
Value VividA8(Value r, Value s) {
  if (r < 128) return 255 + ((s - 255) * 256) / (2 * r + 1);
  return (s * 256) / (511 - 2 * r);
}

Value To8(Value v) { return std::min(255, ((v + 1) >> 7) & 511); }

Value VividA(Value r, Value s, const ChannelScale& k) {
  if (k.eightBit) return std::clamp(VividA8(r, s), 0, 255);
  // Computed at 8-bit precision and widened again.
  const Value v = VividA8(To8(r), To8(s));
  if (v < 0) return 0;
  if (v >= 255) return 32768;
  return (v << 7) | (v >> 1);
}

Value Cross(Value r, Value s, const ChannelScale& k) {
  const Value dr = r - k.half;
  const Value ds = s - k.half;
  if (k.eightBit) return std::clamp(255 - std::abs(((dr * dr) >> 6) - ((ds * ds) >> 6)), 0, 255);
  return 32768 - std::abs(dr * dr / 8192 - ds * ds / 8192);
}

Value SoftLightUpper8(Value r, Value s) {
  const Value t = 255 - s;
  return 255 - ((((t * t) >> 8) * (r - 130) + (258 - r) * t) >> 7);
}

Value SoftLight(Value r, Value s, const ChannelScale& k) {
  if (r < k.half) return (r * s + ((s * s) >> k.shiftUnit) * (k.half - r)) >> k.shiftHalf;
  if (k.eightBit) return SoftLightUpper8(r, s);
  // The light half at 8-bit precision. A full source (s / 128 = 256) would
  // give 257 x 128 for r / 128 below 130, beyond the range: limited.
  return std::min(SoftLightUpper8(r / 128, s / 128) * 128, 32768);
}

// Whole pixel: the source when its luma (low 8 bits dropped) is strictly
// greater ("bright") or smaller ("dim") than the rendered pixel's.
void PickByLuma(bool brighter, Value* r, const Value* s) {
  const Value lr = LumaSum(r) >> 8;
  const Value ls = LumaSum(s) >> 8;
  if (brighter ? lr < ls : ls < lr) std::copy(s, s + 3, r);
}

Value Dodge(Value r, Value s, const ChannelScale& k) {
  if (k.eightBit) return std::clamp((s * 256) / (256 - r), 0, 255);
  if (r == 32768) return 32768;
  return std::clamp((s << 15) / (32768 - r), 0, 32768);
}

Value Burn(Value r, Value s, const ChannelScale& k) {
  return std::clamp(((s - k.max) * k.unit) / (r + 1) + k.max, 0, k.max);
}

Value King(Value r, Value s, const ChannelScale& k) {
  return ((r - s + k.unit) * s) >> k.shiftUnit;
}

Value Queen(Value r, Value s, const ChannelScale& k) {
  if (k.eightBit) return ((255 - r) * r + (r + 1) * s) >> 8;
  return ((s - r + 32768) * r) >> 15;
}

Value Jack(Value r, Value s, const ChannelScale& k) {
  if (k.eightBit) return ((255 - s) * r + (s + 1) * s) >> 8;
  return (s * s + (32768 - s) * r) >> 15;
}

// p = R S / max^2 in single precision; the 16-bit factor is 2^-30.
float ProductFraction(Value a, Value b, const ChannelScale& k) {
  return static_cast<float>(a * b) * (k.eightBit ? 1.53787e-05f : 9.313226e-10f);
}

Value MultiBright(Value r, Value s, const ChannelScale& k) {
  const float p = ProductFraction(r, s, k);
  return static_cast<Value>((2.0f - p) * k.maxf * p);
}

Value ScreenDim(Value r, Value s, const ChannelScale& k) {
  const float f = 1.0f - ProductFraction(k.max - r, k.max - s, k);
  return static_cast<Value>(f * f * k.maxf);
}

// Bitwise modes keep their operands' bits; in 16 bits 32768 OR'd or XOR'd
// with anything else would leave the host's range, so the result is limited.
Value Bitwise(Value v, const ChannelScale& k) { return std::min(v, k.max); }

template <typename Term>
void PerChannel(Value* r, const Value* s, Term term) {
  for (int c = 0; c < 3; ++c) r[c] = term(r[c], s[c]);
}

}  // namespace

void BuildProceduralWeights(std::int32_t* table256) {
  for (Value i = 0; i < kProceduralWeightCount; ++i) table256[i] = ProceduralWeight(i);
}

void ApplyGlueMode(std::int32_t mode, std::int32_t* rendered, const std::int32_t* source,
                   bool eightBit, const std::int32_t* proceduralWeights) {
  const ChannelScale& k = eightBit ? kScale8 : kScale16;
  const Value full = k.max;
  Value* r = rendered;
  const Value* s = source;
  const auto hl = [&k](Value t, Value b) { return HardLight(t, b, k); };
  const auto pin = [&k](Value t, Value b) { return PinLight(t, b, k); };

  switch (mode) {
    case 2:  // "procedural +"
      return PerChannel(
          r, s, [&](Value R, Value S) { return ProceduralPlus(R, S, k, proceduralWeights); });
    case 3:  // "procedural -"
      return PerChannel(
          r, s, [&](Value R, Value S) { return std::min(full, R + ((R * S) >> k.shiftUnit)); });
    case 4:  // "difference"
      return PerChannel(r, s, [&](Value R, Value S) { return Difference(R, S, k); });
    case 5:  // "lighten"
      return PerChannel(r, s, [&](Value R, Value S) { return std::max(R, S); });
    case 6:  // "darken"
      return PerChannel(r, s, [&](Value R, Value S) { return std::min(R, S); });
    case 7:  // "add"
      return PerChannel(r, s, [&](Value R, Value S) { return std::min(full, R + S); });
    case 8:  // "subtract"
      return PerChannel(r, s, [&](Value R, Value S) { return std::max(0, R - S); });
    case 9:  // "multiply"
      return PerChannel(r, s, [&](Value R, Value S) { return (R * S) >> k.shiftUnit; });
    case 10:  // "screen"
      return PerChannel(r, s,
                        [&](Value R, Value S) { return R + (((full - R) * S) >> k.shiftUnit); });
    case 11:  // "hard light"
      return PerChannel(r, s, [&](Value R, Value S) { return hl(R, S); });
    case 12:  // "overlay"
      return PerChannel(r, s, [&](Value R, Value S) { return hl(S, R); });
    case 13:  // "superlay"
      return PerChannel(r, s, [&](Value R, Value S) { return Superlay(R, S, k); });
    case 14:  // "exclusion"
      return PerChannel(r, s, [&](Value R, Value S) { return Exclusion(R, S, k); });
    case 15:  // "color"
      return PerceptualMixMode(PerceptualMix::kColor, r, s, k);
    case 16:  // "luminance"
      return PerceptualMixMode(PerceptualMix::kLuminance, r, s, k);
    case 17:  // "linear light"
      return PerChannel(r, s, [&](Value R, Value S) {
        return R < k.half ? std::max(0, S + 2 * R - k.unit) : std::min(full, S + 2 * R - full);
      });
    case 18:  // "pin light"
      return PerChannel(r, s, [&](Value R, Value S) { return pin(R, S); });
    case 19:  // "spin light"
      return PerChannel(r, s, [&](Value R, Value S) { return pin(S, R); });
    case 20:  // "vivid a"
      return PerChannel(r, s, [&](Value R, Value S) { return VividA(R, S, k); });
    case 21:  // "vivid b"
      return PerChannel(r, s, [&](Value R, Value S) { return std::clamp(2 * R - S, 0, full); });
    case 22:  // "saturation"
      return PerceptualMixMode(PerceptualMix::kSaturation, r, s, k);
    case 23:  // "hue"
      return PerceptualMixMode(PerceptualMix::kHue, r, s, k);
    case 24:  // "similarity"
      return PerChannel(r, s, [&](Value R, Value S) { return full - std::abs(R + S - full); });
    case 25:  // "cross"
      return PerChannel(r, s, [&](Value R, Value S) { return Cross(R, S, k); });
    case 26:  // "hard diff"
      return PerChannel(r, s, [&](Value R, Value S) { return std::abs(R - S); });
    case 27:  // "soft light"
      return PerChannel(r, s, [&](Value R, Value S) { return SoftLight(R, S, k); });
    case 28:  // "bright"
      return PickByLuma(true, r, s);
    case 29:  // "dim"
      return PickByLuma(false, r, s);
    case 30:  // "dodge"
      return PerChannel(r, s, [&](Value R, Value S) { return Dodge(R, S, k); });
    case 31:  // "burn"
      return PerChannel(r, s, [&](Value R, Value S) { return Burn(R, S, k); });
    case 32:  // "ace"
      return PerChannel(
          r, s, [&](Value R, Value S) { return (R * R + (k.unit - R) * S) >> k.shiftUnit; });
    case 33:  // "king"
      return PerChannel(r, s, [&](Value R, Value S) { return King(R, S, k); });
    case 34:  // "queen"
      return PerChannel(r, s, [&](Value R, Value S) { return Queen(R, S, k); });
    case 35:  // "jack"
      return PerChannel(r, s, [&](Value R, Value S) { return Jack(R, S, k); });
    case 36:  // "and"
      return PerChannel(r, s, [&](Value R, Value S) { return R & S; });
    case 37:  // "or"
      return PerChannel(r, s, [&](Value R, Value S) { return Bitwise(R | S, k); });
    case 38:  // "xor"
      return PerChannel(r, s, [&](Value R, Value S) { return Bitwise(R ^ S, k); });
    case 39:  // "multibright"
      return PerChannel(r, s, [&](Value R, Value S) { return MultiBright(R, S, k); });
    case 40:  // "hot"
      return PerChannel(r, s, [&](Value R, Value S) { return pin(pin(S, R), pin(S, full - R)); });
    case 41:  // "cold"
      return PerChannel(r, s, [&](Value R, Value S) { return pin(pin(R, S), pin(R, full - S)); });
    case 42:  // "wet"
      return PerChannel(r, s,
                        [&](Value R, Value S) { return pin(hl(S, R), full - hl(R, full - S)); });
    case 43:  // "dry"
      return PerChannel(r, s, [&](Value R, Value S) {
        return pin(hl(S, full - R), full - hl(full - R, full - S));
      });
    case 44:  // "up"
      return PerChannel(r, s, [&](Value R, Value S) { return pin(hl(R, S), hl(S, R)); });
    case 45:  // "down"
      return PerChannel(r, s, [&](Value R, Value S) { return pin(hl(S, R), hl(R, S)); });
    case 46:  // "wax"
      return WaxWaneMode(false, r, s, k);
    case 47:  // "wane"
      return WaxWaneMode(true, r, s, k);
    case 48:  // "north"
      return RotationMode(Rotation::kNorth, r, s, k);
    case 49:  // "south"
      return RotationMode(Rotation::kSouth, r, s, k);
    case 50:  // "east"
      return RotationMode(Rotation::kEast, r, s, k);
    case 51:  // "west"
      return RotationMode(Rotation::kWest, r, s, k);
    case 52:  // "hard mix"
      return PerChannel(r, s, [&](Value R, Value S) { return R + S > full ? full : 0; });
    case 53:  // "frontal"
      return FrontalMode(r, s, k);
    case 54:  // "parietal"
      return LabMixMode(LabMix::kParietal, r, s, k);
    case 55:  // "temporal"
      return LabMixMode(LabMix::kTemporal, r, s, k);
    case 56:  // "occipital"
      return LabMixMode(LabMix::kOccipital, r, s, k);
    case 57:  // "limbic"
      return LabMixMode(LabMix::kLimbic, r, s, k);
    case 58:  // "dextrous"
      return DextrousMode(r, s, k);
    case 59:  // "sinister"
      return SinisterMode(r, s, k);
    case 60:  // "anterior"
      return AnteriorPosteriorMode(false, r, s, k);
    case 61:  // "posterior"
      return AnteriorPosteriorMode(true, r, s, k);
    case 62:  // "screendim"
      return PerChannel(r, s, [&](Value R, Value S) { return ScreenDim(R, S, k); });
    default:
      return;  // 1 "normal" and unknown numbers keep the rendered pixel
  }
}

}  // namespace stellane
