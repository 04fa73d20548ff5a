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

  switch (static_cast<GlueMode>(mode)) {
    case GlueMode::kProceduralPlus:
      return PerChannel(
          r, s, [&](Value R, Value S) { return ProceduralPlus(R, S, k, proceduralWeights); });
    case GlueMode::kProceduralMinus:
      return PerChannel(
          r, s, [&](Value R, Value S) { return std::min(full, R + ((R * S) >> k.shiftUnit)); });
    case GlueMode::kDifference:
      return PerChannel(r, s, [&](Value R, Value S) { return Difference(R, S, k); });
    case GlueMode::kLighten:
      return PerChannel(r, s, [&](Value R, Value S) { return std::max(R, S); });
    case GlueMode::kDarken:
      return PerChannel(r, s, [&](Value R, Value S) { return std::min(R, S); });
    case GlueMode::kAdd:
      return PerChannel(r, s, [&](Value R, Value S) { return std::min(full, R + S); });
    case GlueMode::kSubtract:
      return PerChannel(r, s, [&](Value R, Value S) { return std::max(0, R - S); });
    case GlueMode::kMultiply:
      return PerChannel(r, s, [&](Value R, Value S) { return (R * S) >> k.shiftUnit; });
    case GlueMode::kScreen:
      return PerChannel(r, s,
                        [&](Value R, Value S) { return R + (((full - R) * S) >> k.shiftUnit); });
    case GlueMode::kHardLight:
      return PerChannel(r, s, [&](Value R, Value S) { return hl(R, S); });
    case GlueMode::kOverlay:
      return PerChannel(r, s, [&](Value R, Value S) { return hl(S, R); });
    case GlueMode::kSuperlay:
      return PerChannel(r, s, [&](Value R, Value S) { return Superlay(R, S, k); });
    case GlueMode::kExclusion:
      return PerChannel(r, s, [&](Value R, Value S) { return Exclusion(R, S, k); });
    case GlueMode::kColor:
      return PerceptualMixMode(PerceptualMix::kColor, r, s, k);
    case GlueMode::kLuminance:
      return PerceptualMixMode(PerceptualMix::kLuminance, r, s, k);
    case GlueMode::kLinearLight:
      return PerChannel(r, s, [&](Value R, Value S) {
        return R < k.half ? std::max(0, S + 2 * R - k.unit) : std::min(full, S + 2 * R - full);
      });
    case GlueMode::kPinLight:
      return PerChannel(r, s, [&](Value R, Value S) { return pin(R, S); });
    case GlueMode::kSpinLight:
      return PerChannel(r, s, [&](Value R, Value S) { return pin(S, R); });
    case GlueMode::kVividA:
      return PerChannel(r, s, [&](Value R, Value S) { return VividA(R, S, k); });
    case GlueMode::kVividB:
      return PerChannel(r, s, [&](Value R, Value S) { return std::clamp(2 * R - S, 0, full); });
    case GlueMode::kSaturation:
      return PerceptualMixMode(PerceptualMix::kSaturation, r, s, k);
    case GlueMode::kHue:
      return PerceptualMixMode(PerceptualMix::kHue, r, s, k);
    case GlueMode::kSimilarity:
      return PerChannel(r, s, [&](Value R, Value S) { return full - std::abs(R + S - full); });
    case GlueMode::kCross:
      return PerChannel(r, s, [&](Value R, Value S) { return Cross(R, S, k); });
    case GlueMode::kHarshDiff:
      return PerChannel(r, s, [&](Value R, Value S) { return std::abs(R - S); });
    case GlueMode::kSoftLight:
      return PerChannel(r, s, [&](Value R, Value S) { return SoftLight(R, S, k); });
    case GlueMode::kBright:
      return PickByLuma(true, r, s);
    case GlueMode::kDim:
      return PickByLuma(false, r, s);
    case GlueMode::kDodge:
      return PerChannel(r, s, [&](Value R, Value S) { return Dodge(R, S, k); });
    case GlueMode::kBurn:
      return PerChannel(r, s, [&](Value R, Value S) { return Burn(R, S, k); });
    case GlueMode::kAce:
      return PerChannel(
          r, s, [&](Value R, Value S) { return (R * R + (k.unit - R) * S) >> k.shiftUnit; });
    case GlueMode::kKing:
      return PerChannel(r, s, [&](Value R, Value S) { return King(R, S, k); });
    case GlueMode::kQueen:
      return PerChannel(r, s, [&](Value R, Value S) { return Queen(R, S, k); });
    case GlueMode::kJack:
      return PerChannel(r, s, [&](Value R, Value S) { return Jack(R, S, k); });
    case GlueMode::kAnd:
      return PerChannel(r, s, [&](Value R, Value S) { return R & S; });
    case GlueMode::kOr:
      return PerChannel(r, s, [&](Value R, Value S) { return Bitwise(R | S, k); });
    case GlueMode::kXor:
      return PerChannel(r, s, [&](Value R, Value S) { return Bitwise(R ^ S, k); });
    case GlueMode::kMultibright:
      return PerChannel(r, s, [&](Value R, Value S) { return MultiBright(R, S, k); });
    case GlueMode::kHot:
      return PerChannel(r, s, [&](Value R, Value S) { return pin(pin(S, R), pin(S, full - R)); });
    case GlueMode::kCold:
      return PerChannel(r, s, [&](Value R, Value S) { return pin(pin(R, S), pin(R, full - S)); });
    case GlueMode::kWet:
      return PerChannel(r, s,
                        [&](Value R, Value S) { return pin(hl(S, R), full - hl(R, full - S)); });
    case GlueMode::kDry:
      return PerChannel(r, s, [&](Value R, Value S) {
        return pin(hl(S, full - R), full - hl(full - R, full - S));
      });
    case GlueMode::kUp:
      return PerChannel(r, s, [&](Value R, Value S) { return pin(hl(R, S), hl(S, R)); });
    case GlueMode::kDown:
      return PerChannel(r, s, [&](Value R, Value S) { return pin(hl(S, R), hl(R, S)); });
    case GlueMode::kWax:
      return WaxWaneMode(false, r, s, k);
    case GlueMode::kWane:
      return WaxWaneMode(true, r, s, k);
    case GlueMode::kNorth:
      return RotationMode(Rotation::kNorth, r, s, k);
    case GlueMode::kSouth:
      return RotationMode(Rotation::kSouth, r, s, k);
    case GlueMode::kEast:
      return RotationMode(Rotation::kEast, r, s, k);
    case GlueMode::kWest:
      return RotationMode(Rotation::kWest, r, s, k);
    case GlueMode::kHardMix:
      return PerChannel(r, s, [&](Value R, Value S) { return R + S > full ? full : 0; });
    case GlueMode::kFrontal:
      return FrontalMode(r, s, k);
    case GlueMode::kParietal:
      return LabMixMode(LabMix::kParietal, r, s, k);
    case GlueMode::kTemporal:
      return LabMixMode(LabMix::kTemporal, r, s, k);
    case GlueMode::kOccipital:
      return LabMixMode(LabMix::kOccipital, r, s, k);
    case GlueMode::kLimbic:
      return LabMixMode(LabMix::kLimbic, r, s, k);
    case GlueMode::kDextrous:
      return DextrousMode(r, s, k);
    case GlueMode::kSinister:
      return SinisterMode(r, s, k);
    case GlueMode::kAnterior:
      return AnteriorPosteriorMode(false, r, s, k);
    case GlueMode::kPosterior:
      return AnteriorPosteriorMode(true, r, s, k);
    case GlueMode::kScreendim:
      return PerChannel(r, s, [&](Value R, Value S) { return ScreenDim(R, S, k); });
    default:
      return;  // 1 "normal" and unknown numbers keep the rendered pixel
  }
}

}  // namespace stellane
