// The numbers that shape the nebula: the octave step and texture passes of
// its noise, and where NebulaAt samples each of its noises. Written once here
// because two paths compute the same picture, the scalar functions
// (Noise.cpp, Nebula.cpp) and the vector kernel (NebulaKernel.inc), and they
// must stay bit-identical: a change made here is a change of the picture on
// both paths. Doubles stay doubles and floats floats; each enters the
// arithmetic at the precision its expression always had.
#pragma once

namespace stellane {

// A point offset added to a noise coordinate pair, in double.
struct NoiseOffset {
  double x;
  double y;
};

// The octave step: rotate by about 28.18 degrees, shift, and scale by the
// lacunarity for the next octave.
constexpr double kOctaveCos = 0.881504381349921;
constexpr double kOctaveSin = 0.472175841886148;
constexpr NoiseOffset kOctaveShift = {0.0764, 723.453};
constexpr double kLacunarity = 1.9134;

// ValueNoise works on coordinates moved this far, keeping ordinary ones positive.
constexpr float kValueNoiseOrigin = 4096.0f;

// TextureNoise: each pass starts at the previous pass's offset plus this step,
// rotated like an octave; the passes' clouds are folded around kTextureFold
// with weight kTextureWeight.
constexpr NoiseOffset kTexturePassStep = {57.45611, 43.53656};
constexpr float kTextureFold = 0.4f;
constexpr float kTextureWeight = 0.8f;

// The nebula always asks for seven whole octaves and five texture passes.
constexpr int kNebulaOctaves = 7;
constexpr int kNebulaTexturePasses = 5;

// NebulaAt's sampling: the scale of each noise's coordinates, and the
// offsets that keep its six gradient noises and two fibres apart.
constexpr double kTextureCoordScale = 0.01;
constexpr double kColourCoordScale = 0.005;
constexpr double kWarpCoordScale = 0.003;
constexpr NoiseOffset kColourBOffset = {34.3, 75.46};
constexpr NoiseOffset kWarpA1Offset = {45.5, 89.6};
constexpr NoiseOffset kWarpA2Offset = {22.3, 3.7};
constexpr NoiseOffset kWarpB1Offset = {64.4, 93.4};
constexpr NoiseOffset kWarpB2Offset = {68.2, 45.3};
constexpr double kWarpGain = 3.0;     // how far the warp noises move a fibre's point
constexpr double kFibreALead = 18.0;  // added to x before the warp, the offset after
constexpr NoiseOffset kFibreAOffset = {2032.44, 1054.34};
constexpr NoiseOffset kFibreBOffset = {49.77, 29.45};
constexpr double kCutOfBFromA = 0.6;  // share of cloud B taken out of cloud A

}  // namespace stellane
