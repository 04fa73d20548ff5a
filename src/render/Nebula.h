// Nebula clouds A and B: two noise-driven density fields, each with a colour
// that drifts between its two chosen colours. B is drawn and also cut out of
// A, so the two interleave.
#pragma once

#include "params/RenderParams.h"
#include "render/RenderContext.h"

namespace stellane {

// Per-row nebula constants.
struct NebulaRowConstants {
  bool on;  // paramA or paramB non-zero
  float biasA;
  float biasB;
  float cK;     // added to both fibre values
  float slope;  // linear map of the texture value
  float offset;
  float textureGain;
  float fibreGain;
  float a1[3];
  float a2[3];
  float b1[3];
  float b2[3];
};

NebulaRowConstants MakeNebulaRowConstants(const RenderParams& p);

// The cloud frequency set by nebulaScale: 2 at 0, 0.25 at 50, 1/32 at 100.
float NebulaFrequency(const RenderParams& p);

struct NebulaSample {
  float densityA;
  float densityB;
  float colourA[3];
  float colourB[3];
};

// Densities and colours of both clouds at nebula coordinates (nx, ny). With
// the nebula off, both densities are 0 and no noise is evaluated.
NebulaSample NebulaAt(const RenderContext& c, const NebulaRowConstants& k, float nx, float ny);

}  // namespace stellane
