// The per-instance render context: one block of kRenderContextBytes that the
// run driver allocates. The renderer's star pool, falloff table and seeded
// random tables come first; the compositor's table and the dialog's region
// follow.
#pragma once

#include <cstddef>
#include <cstdint>

namespace stellane {

struct NoiseLattices;

// The size of the context block; the host allocates it once per run.
constexpr std::int32_t kRenderContextBytes = 255960;

constexpr int kStarPoolSize = 6000;  // record 0 is the list sentinel
constexpr int kFalloffEntries = 101;
constexpr int kTableSize = 2048;  // the cursor-indexed tables
constexpr std::uint32_t kTableMask = kTableSize - 1;
constexpr int kValuePermSize = 514;
constexpr int kGradientPermSize = 512;

struct StarRecord {
  float x;     // left edge of the star's square, full-size pixels
  float y;     // top edge
  float size;  // side of the square; the lit disc has radius sqrt(size)
  float brightness;
  std::int32_t colourIndex;  // row of the colour ramp, 0..255
  std::int32_t next;         // next live record, -1 at the end of the list
  std::uint8_t active;
};

struct RenderContext {
  // ---- Renderer
  StarRecord starPool[kStarPoolSize];
  float falloffTable[kFalloffEntries];
  std::int32_t freeHint;  // record to try first at the next birth
  std::int32_t lastSlot;  // record taken last; probing starts after it
  std::int32_t valuePerm[kValuePermSize];
  std::int32_t gradientPerm[kGradientPermSize];
  std::int32_t randomBytes[kTableSize];
  float uniformTable[kTableSize];
  float bellTable[kTableSize];
  // Derived from the tables above when they are built: the same values with
  // one dependent lookup less, for the vector noise.
  std::int32_t gradientHash[kGradientPermSize];  // gradientPerm[gradientPerm[i]] & 15
  // The lattices of the vector noise (BuildNoiseLattices), kept behind the
  // glow ring; null until PrepareRendering places them.
  const NoiseLattices* lattices;

  // ---- Compositor: built by the run driver before rendering starts
  std::int32_t proceduralWeights[256];  // read by the glue mode "procedural +"

  // ---- Dialog: control flags, undo store and memory dots. The dialog lays
  // out its own record here (static_assert it fits).
  alignas(8) std::uint8_t dialogArea[40960];
};

static_assert(sizeof(RenderContext) <= static_cast<std::size_t>(kRenderContextBytes),
              "the render context must fit the block the run driver allocates");

}  // namespace stellane
