// The nebula kernel with SSE2, which every x64 CPU has: four pixels at a
// time. SSE2 has no floor and no gather; both are built from plain
// instructions with the same results.
#include <emmintrin.h>

#include <cstdint>

#include "render/NebulaSimd.h"
#include "render/Noise.h"
#include "render/RandomTables.h"

namespace stellane {

// Vector values only pass between functions of this file, all inlined, so
// the ABI notes about passing them do not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

constexpr int N = 4;
typedef float VF __attribute__((vector_size(16)));
typedef std::int32_t VI __attribute__((vector_size(16)));
typedef double VD __attribute__((vector_size(32)));

// Out-of-range lanes give 0x80000000, whose low byte is 0 like the scalar path.
VI TruncToInt(VF x) { return (VI)_mm_cvttps_epi32(x); }

// floor, exactly: truncate, step down where that rounded up, keep lanes that
// are already whole (|x| >= 2^23, infinities, NaN) and the sign of -0.
VF Floor(VF x) {
  const VF truncated = __builtin_convertvector(TruncToInt(x), VF);
  VF down = truncated - (VF)((VI)(truncated > x) & (VI)(VF{} + 1.0f));
  const VI signBit = (VI)x & (VI)(VF{} - 0.0f);
  down = (VF)((VI)down | (signBit & (VI)(down == 0.0f)));
  const VF magnitude = (VF)((VI)x & ~(VI)(VF{} - 0.0f));
  return (magnitude < 8388608.0f) ? down : x;
}

// The 32 bits at 16-bit entry index of every lane.
VI GatherCorners(const std::uint16_t* base, VI index) {
  VI out;
  for (int i = 0; i < N; ++i) {
    std::int32_t bits;
    __builtin_memcpy(&bits, base + index[i], sizeof bits);
    out[i] = bits;
  }
  return out;
}

// Byte k of every lane's 32 bits, three times over: b * 0x010101.
template <int k>
VI SpreadByte(VI corners) {
  const VI b = (corners >> (8 * k)) & 255;
  return b | b << 8 | b << 16;
}

#include "render/NebulaKernel.inc"

}  // namespace

int NebulaAtSse2(const RenderContext& c, const NebulaRowConstants& k, const float* nx,
                 const float* ny, int count, NebulaSample* out) {
  return NebulaRun(c, k, nx, ny, count, out);
}

}  // namespace stellane
