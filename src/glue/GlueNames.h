// The glue modes: their numbers, their count and their names as the
// dialog's glue list, scripting and the command line show them.
#pragma once

#include <cstdint>

namespace stellane {

// The modes by number: the number is what the parameter record, settings
// files and scripting store, so the order is fixed.
enum class GlueMode : std::int32_t {
  kNormal = 1,
  kProceduralPlus,
  kProceduralMinus,
  kDifference,
  kLighten,
  kDarken,
  kAdd,
  kSubtract,
  kMultiply,
  kScreen,
  kHardLight,
  kOverlay,
  kSuperlay,
  kExclusion,
  kColor,
  kLuminance,
  kLinearLight,
  kPinLight,
  kSpinLight,
  kVividA,
  kVividB,
  kSaturation,
  kHue,
  kSimilarity,
  kCross,
  kHarshDiff,
  kSoftLight,
  kBright,
  kDim,
  kDodge,
  kBurn,
  kAce,
  kKing,
  kQueen,
  kJack,
  kAnd,
  kOr,
  kXor,
  kMultibright,
  kHot,
  kCold,
  kWet,
  kDry,
  kUp,
  kDown,
  kWax,
  kWane,
  kNorth,
  kSouth,
  kEast,
  kWest,
  kHardMix,
  kFrontal,
  kParietal,
  kTemporal,
  kOccipital,
  kLimbic,
  kDextrous,
  kSinister,
  kAnterior,
  kPosterior,
  kScreendim,
};

constexpr std::int32_t kGlueModeCount = 62;

// Entry k names glue mode k + 1.
extern const char* const kGlueModeNames[kGlueModeCount];

// The name of glue mode 1..62, or null for any other number.
inline const char* GlueModeName(std::int32_t mode) {
  return mode >= 1 && mode <= kGlueModeCount ? kGlueModeNames[mode - 1] : nullptr;
}

}  // namespace stellane
