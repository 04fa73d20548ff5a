#include "params/EnumCodes.h"

#include "glue/GlueNames.h"

namespace stellane {

namespace {

// "GL" followed by the two-digit number.
std::uint32_t GlueCode(std::int32_t n) {
  return FourCC("GL00") + (std::uint32_t(n / 10) << 8) + std::uint32_t(n % 10);
}

// "IQr" followed by one digit.
std::uint32_t QualityCode(std::int32_t n) { return FourCC("IQr0") + std::uint32_t(n); }

constexpr std::int32_t kQualityCount = 3;

}  // namespace

bool EnumCodeToIndex(std::uint32_t enumType, std::uint32_t code, std::int32_t& index) {
  index = 0;
  if (enumType == kGlueEnumType) {
    for (std::int32_t n = 1; n <= kGlueModeCount; ++n)
      if (GlueCode(n) == code) {
        index = n;
        return true;
      }
  } else if (enumType == kQualityEnumType) {
    for (std::int32_t n = 1; n <= kQualityCount; ++n)
      if (QualityCode(n) == code) {
        index = n;
        return true;
      }
  }
  return false;
}

std::uint32_t EnumIndexToCode(std::uint32_t enumType, std::int32_t index) {
  if (enumType == kGlueEnumType && index >= 1 && index <= kGlueModeCount) return GlueCode(index);
  if (enumType == kQualityEnumType && index >= 1 && index <= kQualityCount)
    return QualityCode(index);
  return kNoEnumCode;
}

}  // namespace stellane
