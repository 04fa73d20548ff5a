// Random settings: Dice, random colours and the random seed. Every draw comes
// from the C library generator in a fixed order, so a seed fixes the result.
#include <algorithm>

#include "dialog/MainDialog.h"
#include "render/CrtRandom.h"

namespace stellane {

std::int32_t RandomNumber(std::int32_t low, std::int32_t high) {
  if (low > high) std::swap(low, high);
  const std::int64_t range = std::int64_t{high} - low;
  std::int64_t mask = 1;
  if (range >= 2) {
    mask = 3;
    while (mask < range) mask = mask * 2 + 1;
  }
  for (;;) {
    const std::int32_t draw = static_cast<std::int16_t>(CrtRand()) >> 4;
    const std::int64_t v = (draw & mask) + low;
    if (v <= high) return static_cast<std::int32_t>(v);
  }
}

Color16 RandomColour(std::int32_t a) {
  const std::int32_t r = (CrtRand() * 256) % 65536;
  const std::int32_t g = (CrtRand() * 256) % 65536;
  const std::int32_t b = (CrtRand() * 256) % 65536;
  const std::int32_t grey = (28 * b + 77 * r + 150 * g) / 256;
  auto mix = [&](std::int32_t c) {
    return static_cast<std::uint16_t>(std::clamp(((256 - a) * c + grey * a) / 256, 0, 65535));
  };
  return {mix(r), mix(g), mix(b)};
}

void RandomColours(RenderParams& p) {
  for (Color16* c : {&p.colorA1, &p.colorA2, &p.colorB2, &p.colorB1}) {
    *c = RandomColour(192);
    if (RandomNumber(0, 100) > 50) *c = RandomColour(30);
  }
}

void DiceParams(RenderParams& p) {
  RandomNumber(0, 100);
  do {
    p.spareInt1 = RandomNumber(0, 100);
    p.brightness = RandomNumber(25, 75);
  } while (p.brightness * p.spareInt1 > 2175);
  p.spareInt2 = RandomNumber(25, 100);
  p.spareInt3 = RandomNumber(70, 100);
  p.spareInt4 = RandomNumber(0, 100);
  p.density = RandomNumber(10, 100);
  p.spareInt5 = RandomNumber(0, 30);
  p.spareInt6 = RandomNumber(5, 50);
  p.spareInt7 = RandomNumber(0, 30);
  p.spareInt8 = RandomNumber(30, 70);
  p.spareInt9 = RandomNumber(0, 1);
  p.nebulaScale = RandomNumber(15, 60);
  p.texture = RandomNumber(0, 100);
  p.contrast = RandomNumber(30, 95);
  p.starScale = 35;
  p.fibrousness = RandomNumber(30, 70);
  p.spareInt15 = RandomNumber(25, 37);
  p.opacity = RandomNumber(0, 60);
  p.paramA = 20 + RandomNumber(0, 55);
  p.paramB = 20 + RandomNumber(0, 55);
  p.spareInt13 = RandomNumber(0, 100);
  p.spareInt14 = RandomNumber(0, 20);
  p.color = RandomNumber(10, 75);
  p.spareInt17 = RandomNumber(20, 80);
  p.randomSeed = CrtRand() & 2047;
  p.spareInt15 = 0;
  if (RandomNumber(0, 100) > 85) p.spareInt15 = 30 + RandomNumber(0, 50);
  p.spareInt12 = RandomNumber(40, 100);
  p.depth = RandomNumber(0, 50);
  RandomColours(p);
}

}  // namespace stellane
