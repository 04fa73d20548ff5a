// The standard library generator as the Windows C runtime defines it
// (RAND_MAX 32767). Star placement and the dialog's dice draw on it, so one
// seed gives the same stars and dice on every platform. Like the C runtime's,
// the state is process-wide.
#pragma once

#include <cstdint>

namespace stellane {

constexpr int kCrtRandMax = 32767;

void CrtSrand(std::uint32_t seed);
int CrtRand();  // 0..32767

}  // namespace stellane
