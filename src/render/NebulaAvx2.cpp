// The nebula kernel with AVX2: eight pixels at a time, corner pairs fetched
// with one 64-bit gather each. Compiled for AVX2 whatever the target, and
// only called when the CPU has it.
#include <immintrin.h>

#include <cstdint>

#include "render/NebulaSimd.h"
#include "render/Noise.h"
#include "render/RandomTables.h"

namespace stellane {

// Vector values only pass between functions of this file, all inlined, so
// the ABI notes about passing them do not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

#pragma GCC push_options
#pragma GCC target("avx2")

constexpr int N = 8;
typedef float VF __attribute__((vector_size(32)));
typedef std::int32_t VI __attribute__((vector_size(32)));
typedef double VD __attribute__((vector_size(64)));

VF Floor(VF x) { return _mm256_floor_ps(x); }

// Out-of-range lanes give 0x80000000, whose low byte is 0 like the scalar path.
VI TruncToInt(VF x) { return (VI)_mm256_cvttps_epi32(x); }

// The 32 bits at 16-bit entry index of every lane.
VI GatherCorners(const std::uint16_t* base, VI index) {
  return (VI)_mm256_i32gather_epi32(reinterpret_cast<const int*>(base), (__m256i)index, 2);
}

// Byte k of every lane's 32 bits, three times over: b * 0x010101.
template <int k>
VI SpreadByte(VI corners) {
  const __m256i spread = _mm256_setr_epi8(
      k, k, k, -1, 4 + k, 4 + k, 4 + k, -1, 8 + k, 8 + k, 8 + k, -1, 12 + k, 12 + k, 12 + k, -1,  //
      k, k, k, -1, 4 + k, 4 + k, 4 + k, -1, 8 + k, 8 + k, 8 + k, -1, 12 + k, 12 + k, 12 + k, -1);
  return (VI)_mm256_shuffle_epi8((__m256i)corners, spread);
}

#include "render/NebulaKernel.inc"

#pragma GCC pop_options

}  // namespace

bool CpuHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

__attribute__((target("avx2"))) int NebulaAtAvx2(const RenderContext& c,
                                                 const NebulaRowConstants& k, const float* nx,
                                                 const float* ny, int count, NebulaSample* out) {
  return NebulaRun(c, k, nx, ny, count, out);
}

}  // namespace stellane
