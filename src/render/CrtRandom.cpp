#include "render/CrtRandom.h"

namespace stellane {

namespace {
// Process-wide as the C runtime's rand(): prepare seeds the one sequence that
// the star field, the dialog's dice and the photo PSD draw from in turn.
std::uint32_t holdRand = 1;  // the runtime's state before any srand
}  // namespace

void CrtSrand(std::uint32_t seed) { holdRand = seed; }

int CrtRand() {
  holdRand = holdRand * 214013u + 2531011u;
  return int((holdRand >> 16) & 0x7FFFu);
}

}  // namespace stellane
