// Conversion between the enumerated codes of the scripting descriptor and
// the numbers they stand for: `GLty` codes "GL01".."GL62" for glue modes
// 1..62, and `IQty` codes "IQr1".."IQr3" for 1..3.
#pragma once

#include <cstdint>

#include "params/FourCC.h"

namespace stellane {

constexpr std::uint32_t kGlueEnumType = FourCC("GLty");
constexpr std::uint32_t kQualityEnumType = FourCC("IQty");
constexpr std::uint32_t kNoEnumCode = FourCC("<NO>");

// Sets `index` to the number of `code` and returns true; an unknown type or
// code sets it to 0 and returns false.
bool EnumCodeToIndex(std::uint32_t enumType, std::uint32_t code, std::int32_t& index);

// The code of `index`, or "<NO>" when the type has no such code.
std::uint32_t EnumIndexToCode(std::uint32_t enumType, std::int32_t index);

}  // namespace stellane
