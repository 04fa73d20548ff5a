#include "render/StarField.h"

#include <algorithm>
#include <cmath>

#include "render/CrtRandom.h"

namespace stellane {

StarRowConstants MakeStarRowConstants(const RenderParams& p, std::int32_t zoom) {
  StarRowConstants k;
  const float bracket = static_cast<float>(3.0 - p.starScale * 0.02);
  // Parameters far outside 0..100 push the threshold beyond what a draw can
  // reach (0..65535); clamp before the conversion so it stays defined.
  double threshold = 65535.0 - bracket * 30.0 * p.density;
  if (threshold < -1.0) threshold = -1.0;
  if (threshold > 65535.0) threshold = 65535.0;
  k.birthThreshold = static_cast<std::int32_t>(threshold);
  // The star size drives the work: every star lights size x size pixels.
  // Scripts and settings files may hold any value; beyond the slider's
  // 0..100 (or its mirror, which squares the same) the size stops growing.
  const std::int32_t starScale = std::clamp(p.starScale, -kMaxStarScale, kMaxStarScale);
  const float scale = static_cast<float>(starScale) / 100.0f;
  k.sizeFactor = scale * scale * 8.0f;
  k.brightnessFactor = static_cast<float>(p.brightness * 0.03);
  k.depthFactor = static_cast<float>(0.5 / (p.depth * 0.009 + 0.3) - 0.38);
  k.minSide = 2.0f * static_cast<float>(zoom);
  return k;
}

bool StarLightAt(const RenderContext& c, const StarRowConstants& k, const StarRecord& s, float sx,
                 float sy, StarLight& light) {
  const float dy = sy - s.y;
  const float dx = sx - s.x;
  if (!(dy >= 0.0f && s.size > dy && dx > 0.0f && s.size > dx)) return false;
  const double half = s.size / 2.0f;
  const float ex = static_cast<float>(dx - half);
  const float ey = static_cast<float>(dy - half);
  const float d = (ex * ex + ey * ey) / s.size;
  if (!(d < 1.0f)) return false;
  // 0 <= d < 1, so the index is 0..99.
  const float w = k.brightnessFactor * c.falloffTable[static_cast<int>(d * 100.0f)] * s.brightness;
  const std::uint8_t* rgb = kStarRamp[s.colourIndex & 255];
  light.red = rgb[0] * w;
  light.green = rgb[1] * w;
  light.blue = rgb[2] * w;
  return true;
}

StarLight SumStarLight(RenderContext& c, const StarRowConstants& k, float sx, float sy) {
  StarLight sum = {0.0f, 0.0f, 0.0f};
  std::int32_t prev = 0;
  std::int32_t s = c.starPool[0].next;
  while (s != -1) {
    StarRecord& star = c.starPool[s];
    const float dy = sy - star.y;
    if (dy >= 0.0f && star.size > dy) {
      StarLight light;
      if (StarLightAt(c, k, star, sx, sy, light)) {
        sum.red += light.red;
        sum.green += light.green;
        sum.blue += light.blue;
      }
    } else if (dy > 0.0f && c.starPool[prev].active) {
      // Wholly above this row: finished. The head of the list (whose
      // predecessor is the inactive sentinel) waits for a later walk.
      c.starPool[prev].next = star.next;
      star.active = 0;
      c.freeHint = s;
    }
    prev = s;
    s = star.next;
  }
  return sum;
}

namespace {

// The record for a new star: the hint if free, else the first free one after
// the record taken last, wrapping from the last record to 1. -1 when full.
std::int32_t TakeFreeRecord(RenderContext& c) {
  const std::int32_t hint = c.freeHint;
  if (hint >= 1 && hint < kStarPoolSize && !c.starPool[hint].active) return hint;
  std::int32_t probe = c.lastSlot;
  for (int i = 0; i < kStarPoolSize - 1; ++i) {
    probe = probe >= kStarPoolSize - 1 ? 1 : probe + 1;
    if (!c.starPool[probe].active) return probe;
  }
  return -1;
}

}  // namespace

std::uint32_t MaybeBirthStar(RenderContext& c, const StarRowConstants& k, float sx, float sy,
                             std::uint32_t cur) {
  const std::int32_t v = c.randomBytes[cur & kTableMask];
  cur += 2;
  if (v * 257 <= k.birthThreshold) return cur;

  const std::int32_t r = TakeFreeRecord(c);
  if (r < 0) return cur;  // a full pool skips the birth
  c.lastSlot = r;
  StarRecord& star = c.starPool[r];
  star.next = c.starPool[0].next;
  c.starPool[0].next = r;
  star.active = 1;

  star.x = static_cast<float>(c.randomBytes[cur & kTableMask] / 256.0 + sx);
  star.y = static_cast<float>(c.randomBytes[(cur + 1) & kTableMask] / 256.0 + sy);
  // The bell draw often lands near -depthFactor: a few very bright stars,
  // many faint ones, some negative (they darken their neighbours).
  const float b = k.depthFactor / (k.depthFactor + c.bellTable[(cur + 2) & kTableMask]);
  float size = std::fabs(c.uniformTable[(cur + 3) & kTableMask]) * k.sizeFactor;
  cur += 4;
  star.colourIndex = CrtRand() % 256;
  float brightness = static_cast<float>(b * 0.8 + 0.2);
  if (k.minSide > size) {
    // Too small to show at this zoom: widen it, dimmed in proportion.
    brightness = brightness * size / k.minSide;
    size = k.minSide;
  }
  star.size = size;
  star.brightness = brightness;
  return cur;
}

void ClearStarPool(RenderContext& c) {
  for (StarRecord& s : c.starPool) {
    s.next = -1;
    s.active = 0;
  }
}

}  // namespace stellane
