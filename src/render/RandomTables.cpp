#include "render/RandomTables.h"

#include <utility>

#include "render/FixedRandom.h"

namespace stellane {

const std::int32_t kImprovedNoisePermutation[256] = {
    151, 160, 137, 91,  90,  15,  131, 13,  201, 95,  96,  53,  194, 233, 7,   225, 140, 36,  103,
    30,  69,  142, 8,   99,  37,  240, 21,  10,  23,  190, 6,   148, 247, 120, 234, 75,  0,   26,
    197, 62,  94,  252, 219, 203, 117, 35,  11,  32,  57,  177, 33,  88,  237, 149, 56,  87,  174,
    20,  125, 136, 171, 168, 68,  175, 74,  165, 71,  134, 139, 48,  27,  166, 77,  146, 158, 231,
    83,  111, 229, 122, 60,  211, 133, 230, 220, 105, 92,  41,  55,  46,  245, 40,  244, 102, 143,
    54,  65,  25,  63,  161, 1,   216, 80,  73,  209, 76,  132, 187, 208, 89,  18,  169, 200, 196,
    135, 130, 116, 188, 159, 86,  164, 100, 109, 198, 173, 186, 3,   64,  52,  217, 226, 250, 124,
    123, 5,   202, 38,  147, 118, 126, 255, 82,  85,  212, 207, 206, 59,  227, 47,  16,  58,  17,
    182, 189, 28,  42,  223, 183, 170, 213, 119, 248, 152, 2,   44,  154, 163, 70,  221, 153, 101,
    155, 167, 43,  172, 9,   129, 22,  39,  253, 19,  98,  108, 110, 79,  113, 224, 232, 178, 185,
    112, 104, 218, 246, 97,  228, 251, 34,  242, 193, 238, 210, 144, 12,  191, 179, 162, 241, 81,
    51,  145, 235, 249, 14,  239, 107, 49,  192, 214, 31,  181, 199, 106, 157, 184, 84,  204, 176,
    115, 121, 50,  45,  127, 4,   150, 254, 138, 236, 205, 93,  222, 114, 67,  29,  24,  72,  243,
    141, 128, 195, 78,  66,  215, 61,  156, 180};

void BuildRandomTables(RenderContext& c, std::int32_t seed) {
  // Seeds are taken modulo 2048; unsigned arithmetic keeps negative seeds
  // and the sum defined.
  const std::uint32_t seedBits = static_cast<std::uint32_t>(seed);
  for (int k = 0; k < kTableSize; ++k) c.randomBytes[k] = kFixedRandom[k] & 0xff;

  // Each step carries the old value of position k to position j, then puts
  // the fixed byte back at k.
  std::uint32_t cur = 0;
  for (int k = 0; k < kTableSize; ++k) {
    const int j = kFixedRandom[(seedBits + k) & kTableMask];
    if (k == kTableSize - 1) cur = static_cast<std::uint32_t>(c.randomBytes[k]);
    const std::int32_t carried = c.randomBytes[k];
    c.randomBytes[k] = c.randomBytes[j];
    c.randomBytes[j] = carried;
    c.randomBytes[k] = kFixedRandom[k] & 0xff;
  }

  for (int k = 0; k < kTableSize; ++k)
    c.uniformTable[k] = static_cast<float>(c.randomBytes[k] * 0.003921568627451);

  // 26 consecutive uniform draws per entry: a bell around 0.5.
  for (int k = 0; k < kTableSize; ++k) {
    float acc = 0.0f;
    for (int i = 0; i < 13; ++i) {
      acc = (c.uniformTable[cur & kTableMask] + acc) + c.uniformTable[(cur + 1) & kTableMask];
      cur += 2;
    }
    c.bellTable[k] = acc - 12.5f;
  }
}

void BuildPermutations(RenderContext& c, std::int32_t seed) {
  for (int i = 0; i < 256; ++i) c.valuePerm[i] = i;
  std::uint32_t cur = 3111;
  for (int i = 255; i >= 1; --i) {
    const int j = c.randomBytes[cur & kTableMask];
    cur += 2;
    std::swap(c.valuePerm[i], c.valuePerm[j]);
  }
  for (int i = 0; i <= 257; ++i) c.valuePerm[256 + i] = c.valuePerm[i];

  const std::uint32_t seedBits = static_cast<std::uint32_t>(seed);
  for (int i = 0; i < 256; ++i) {
    c.gradientPerm[i] = kImprovedNoisePermutation[(seedBits + i) & 0xff];
    c.gradientPerm[256 + i] = c.gradientPerm[i];
  }

  for (int i = 0; i < kGradientPermSize; ++i)
    c.gradientHash[i] = c.gradientPerm[c.gradientPerm[i]] & 15;
}

void BuildNoiseLattices(const RenderContext& c, NoiseLattices& lattices) {
  // The permutations repeat themselves, so X + 1, Y + 1 and Y = 256 need no
  // wrapping here.
  auto byteAt = [&c](int x, int y) { return c.randomBytes[c.valuePerm[c.valuePerm[x] + y]]; };
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 257; ++y)
      lattices.valueCorners[x * 257 + y] =
          static_cast<std::uint16_t>(byteAt(x, y) | byteAt(x + 1, y) << 8);

  const std::int32_t* p = c.gradientPerm;
  for (int x = 0; x < 256; ++x) {
    for (int y = 0; y < 256; ++y) {
      const int a = p[x] + y;
      const int b = p[x + 1] + y;
      lattices.gradientCorners[x * 256 + y] =
          static_cast<std::uint16_t>(c.gradientHash[a] | c.gradientHash[b] << 4 |
                                     c.gradientHash[a + 1] << 8 | c.gradientHash[b + 1] << 12);
    }
  }
  lattices.gradientCorners[256 * 256] = lattices.gradientCorners[256 * 256 + 1] = 0;
}

}  // namespace stellane
