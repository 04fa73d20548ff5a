#include "render/Nebula.h"

#include <algorithm>
#include <cmath>

#include "render/NebulaConstants.h"
#include "render/Noise.h"

namespace stellane {

namespace {

constexpr float kColourScale = 1.5259022e-05f;  // 1 / 65535

void ColourToFloats(const Color16& colour, float out[3]) {
  out[0] = colour.red * kColourScale;
  out[1] = colour.green * kColourScale;
  out[2] = colour.blue * kColourScale;
}

float Bias(float amount) {
  const float rest = 1.0f - amount;
  return (1.0f - 3.0f * (rest * rest * rest)) * 1.2f;
}

float Clamp01(float t) { return t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t); }

}  // namespace

NebulaRowConstants MakeNebulaRowConstants(const RenderParams& p) {
  NebulaRowConstants k;
  const float a = static_cast<float>(p.paramA) / 100.0f;
  const float b = static_cast<float>(p.paramB) / 100.0f;
  k.on = p.paramA != 0 || p.paramB != 0;
  k.biasA = Bias(a);
  k.biasB = Bias(b);
  k.cK = static_cast<float>(p.contrast * 0.01 * 1.5);
  k.slope = k.cK / 2.0f;
  if (k.slope < 1.0f) {
    k.offset = 0.5f;
  } else {
    const float e = k.slope - 1.0f;
    k.offset = 1.0f - 10.0f * e;
    k.slope = 9.0f * e + 1.0f;
  }
  k.textureGain = static_cast<float>(p.texture * 0.01 * 0.5 + 0.3);
  k.fibreGain = static_cast<float>(p.fibrousness) / 100.0f;
  ColourToFloats(p.colorA1, k.a1);
  ColourToFloats(p.colorA2, k.a2);
  ColourToFloats(p.colorB1, k.b1);
  ColourToFloats(p.colorB2, k.b2);
  return k;
}

float NebulaFrequency(const RenderParams& p) {
  const float bracket = static_cast<float>(0.06 * p.nebulaScale + 3.0);
  return std::exp2(4.0f - bracket);
}

NebulaSample NebulaAt(const RenderContext& c, const NebulaRowConstants& k, float nx, float ny) {
  NebulaSample s = {};
  if (!k.on) return s;
  const float octaves = kNebulaOctaves;
  const float texture = TextureNoise(c, static_cast<float>(nx * kTextureCoordScale),
                                     static_cast<float>(ny * kTextureCoordScale), octaves,
                                     kNebulaTexturePasses, k.textureGain);

  const float t = Clamp01(GradientNoise(c, static_cast<float>(nx * kColourCoordScale),
                                        static_cast<float>(ny * kColourCoordScale)) +
                          0.5f);
  const float t2 =
      Clamp01(GradientNoise(c, static_cast<float>(nx * kColourCoordScale + kColourBOffset.x),
                            static_cast<float>(ny * kColourCoordScale + kColourBOffset.y)) +
              0.5f);
  for (int i = 0; i < 3; ++i) {
    s.colourA[i] = k.a1[i] + (k.a2[i] - k.a1[i]) * t;
    s.colourB[i] = k.b2[i] + (k.b1[i] - k.b2[i]) * t2;
  }

  const double wx = nx * kWarpCoordScale;
  const double wy = ny * kWarpCoordScale;
  const auto warp = [&](NoiseOffset o) {
    return GradientNoise(c, static_cast<float>(wx + o.x), static_cast<float>(wy + o.y));
  };
  const float wa1 = warp(kWarpA1Offset);
  const float wa2 = warp(kWarpA2Offset);
  const float fibreA =
      FibreNoise(c, static_cast<float>(wx + kFibreALead + kWarpGain * wa1 + kFibreAOffset.x),
                 static_cast<float>(kWarpGain * wa2 + wy + kFibreAOffset.y), octaves, k.fibreGain);
  const float wb1 = warp(kWarpB1Offset);
  const float wb2 = warp(kWarpB2Offset);
  const float fibreB =
      FibreNoise(c, static_cast<float>(kWarpGain * wb1 + wx + kFibreBOffset.x),
                 static_cast<float>(kWarpGain * wb2 + wy + kFibreBOffset.y), octaves, k.fibreGain);

  const float mapped = texture * k.slope + k.offset;
  s.densityB = (fibreB + k.cK) * mapped + k.biasB;
  const float firstA = (fibreA + k.cK) * mapped + k.biasA;
  const double cutB = kCutOfBFromA * static_cast<double>(fibreB + k.cK + k.biasB);
  const float densityA = static_cast<float>(firstA - cutB);
  s.densityA = densityA < 0.0f ? 0.0f : densityA;
  return s;
}

}  // namespace stellane
