// The star field: stars are born at random while the rows are scanned and
// live in a pool of records linked into one list; every live star lights the
// pixels of its square below and to the right of its birth point.
#pragma once

#include <cstdint>

#include "params/RenderParams.h"
#include "render/RenderContext.h"

namespace stellane {

// 256 star colours (R, G, B), deep orange-red through yellow and white to
// pale cyan.
extern const std::uint8_t kStarRamp[256][3];

// The largest star scale the size follows (the slider's top); larger values
// from scripts and settings files render as this one.
constexpr std::int32_t kMaxStarScale = 100;

// Per-row star constants.
struct StarRowConstants {
  std::int32_t birthThreshold;  // a birth draw (byte * 257) must exceed it; -1..65535
  float sizeFactor;             // largest star side in full-size pixels
  float brightnessFactor;
  float depthFactor;  // shapes the brightness spread
  float minSide;      // 2 * zoom: the smallest side a star may have
};

StarRowConstants MakeStarRowConstants(const RenderParams& p, std::int32_t zoom);

struct StarLight {
  float red;
  float green;
  float blue;
};

// Walks the live list once: sums the light of every star whose disc covers
// the full-size position (sx, sy) and unlinks finished stars.
StarLight SumStarLight(RenderContext& c, const StarRowConstants& k, float sx, float sy);

// The light one star gives at (sx, sy), or false when it covers nothing
// there. Shared by the list walk and the row-wise star engine.
bool StarLightAt(const RenderContext& c, const StarRowConstants& k, const StarRecord& s, float sx,
                 float sy, StarLight& light);

// One birth draw at (sx, sy) from the cursor; may link a new star at the head
// of the list. Returns the advanced cursor (by 2, or 6 after a birth).
std::uint32_t MaybeBirthStar(RenderContext& c, const StarRowConstants& k, float sx, float sy,
                             std::uint32_t cur);

// Empties the pool and the list.
void ClearStarPool(RenderContext& c);

}  // namespace stellane
