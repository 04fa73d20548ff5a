// The nebula kernel with AVX2: eight pixels at a time, corner pairs fetched
// with one 64-bit gather each. Compiled for AVX2 whatever the target, and
// only called when the CPU has it.
#include <immintrin.h>

#include <cstdint>

#include "render/NebulaSimd.h"
#include "render/Noise.h"

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

// (base[i], base[i + 1]) for every lane's i, split into two vectors.
void GatherPairBits(const void* base, VI index, __m256& first, __m256& second) {
  const __m256i idx = (__m256i)index;
  const auto* table = static_cast<const long long*>(base);
  const __m256 lo =
      _mm256_castsi256_ps(_mm256_i32gather_epi64(table, _mm256_castsi256_si128(idx), 4));
  const __m256 hi =
      _mm256_castsi256_ps(_mm256_i32gather_epi64(table, _mm256_extracti128_si256(idx, 1), 4));
  // Per 128-bit half: lanes (0, 1, 4, 5) | (2, 3, 6, 7); the permute restores order.
  const __m256 even = _mm256_shuffle_ps(lo, hi, _MM_SHUFFLE(2, 0, 2, 0));
  const __m256 odd = _mm256_shuffle_ps(lo, hi, _MM_SHUFFLE(3, 1, 3, 1));
  first = _mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_castps_pd(even), 0xD8));
  second = _mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_castps_pd(odd), 0xD8));
}

void GatherPair(const std::int32_t* base, VI index, VI& first, VI& second) {
  __m256 a, b;
  GatherPairBits(base, index, a, b);
  first = (VI)_mm256_castps_si256(a);
  second = (VI)_mm256_castps_si256(b);
}

// The 32 bits at 16-bit entry index of every lane.
VI GatherCorners(const std::uint16_t* base, VI index) {
  return (VI)_mm256_i32gather_epi32(reinterpret_cast<const int*>(base), (__m256i)index, 2);
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
