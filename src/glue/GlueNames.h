// The names of the glue modes as the dialog's glue list shows them.
#pragma once

#include <cstdint>

namespace stellane {

constexpr int kGlueModeCount = 62;

// Entry k names glue mode k + 1.
extern const char* const kGlueModeNames[kGlueModeCount];

// The name of glue mode 1..62, or null for any other number.
inline const char* GlueModeName(std::int32_t mode) {
  return mode >= 1 && mode <= kGlueModeCount ? kGlueModeNames[mode - 1] : nullptr;
}

}  // namespace stellane
