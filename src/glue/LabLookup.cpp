#include "glue/LabLookup.h"

#include <algorithm>
#include <utility>

#include "glue/LabLattices.h"

namespace stellane {

namespace {
constexpr int kLast = 15;
constexpr int kAxisStride[3] = {3, 48, 768};

struct AxisFraction {
  int axis;
  std::int32_t fraction;
};
}  // namespace

Triple LatticeLookup(std::int32_t c0, std::int32_t c1, std::int32_t c2, const std::uint8_t* lattice,
                     float step) {
  const std::int32_t values[3] = {c0, c1, c2};
  int index[3];
  AxisFraction order[3];
  for (int c = 0; c < 3; ++c) {
    const std::int32_t v = std::max(values[c], 0);
    index[c] = std::min(static_cast<int>(static_cast<float>(v) / step), kLast);
    const float rest = static_cast<float>(v) - static_cast<float>(index[c]) * step;
    order[c] = {c, std::max(static_cast<std::int32_t>(rest), 0)};
  }
  // Largest fraction first: the walk from the base point crosses the
  // tetrahedron that contains the value.
  if (order[0].fraction < order[1].fraction) std::swap(order[0], order[1]);
  if (order[1].fraction < order[2].fraction) std::swap(order[1], order[2]);
  if (order[0].fraction < order[1].fraction) std::swap(order[0], order[1]);

  int offset = 3 * index[0] + 48 * index[1] + 768 * index[2];
  std::int32_t weight = static_cast<std::int32_t>(step - static_cast<float>(order[0].fraction));
  std::int32_t sum[3] = {0, 0, 0};
  auto accumulate = [&](std::int32_t w) {
    for (int c = 0; c < 3; ++c) sum[c] += lattice[offset + c] * w;
  };
  accumulate(weight);
  for (int s = 0; s < 3; ++s) {
    // Each step moves on even when its weight is 0 (later steps start from
    // there); a channel at the top index has weight 0 and must not leave the
    // lattice, so the walk stays at the last point.
    const int axis = order[s].axis;
    if (index[axis] < kLast) {
      ++index[axis];
      offset += kAxisStride[axis];
    }
    weight = order[s].fraction - (s < 2 ? order[s + 1].fraction : 0);
    if (weight != 0) accumulate(weight);
  }
  return {sum[0] / 17, sum[1] / 17, sum[2] / 17};
}

Triple LabForward(std::int32_t red, std::int32_t green, std::int32_t blue, bool eightBit) {
  return LatticeLookup(red, green, blue, kLabForwardLattice,
                       eightBit ? kLatticeStep8 : kLatticeStep16);
}

Triple LabInverse(std::int32_t lightness, std::int32_t a, std::int32_t b, bool eightBit) {
  return LatticeLookup(lightness, a, b, kLabInverseLattice,
                       eightBit ? kLatticeStep8 : kLatticeStep16);
}

}  // namespace stellane
