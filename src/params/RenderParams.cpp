#include "params/RenderParams.h"

#include <cmath>
#include <cstring>

#include "glue/GlueNames.h"

namespace stellane {

namespace {

constexpr Color16 Color8(int red, int green, int blue) {
  return {std::uint16_t(red * 257), std::uint16_t(green * 257), std::uint16_t(blue * 257)};
}

}  // namespace

void LoadDefaults(RenderParams& p) {
  const float x = -0.68f;
  const float y = -0.68f;
  p.vector1 = {x, y, std::sqrt(1.0f - x * x - y * y)};
  p.vector2 = {0.0f, -1.0f, 0.0f};
  p.glue = std::int32_t(GlueMode::kNormal);
  p.randomSeed = 67676767;

  p.colorA1 = Color8(227, 220, 27);
  p.colorA2 = Color8(98, 213, 143);
  p.spareColor1 = {3289, 5921, 18421};
  p.colorB2 = Color8(125, 126, 106);
  p.colorB1 = Color8(101, 137, 153);
  p.spareColor2 = {65535, 65535, 65535};
  p.spareColor3 = {28835, 24903, 13107};

  p.spareInt1 = 32;
  p.spareInt2 = 50;
  p.spareInt3 = 80;
  p.spareInt4 = 80;
  p.paramA = 43;
  p.density = 29;
  p.spareInt5 = 0;
  p.spareInt6 = 30;
  p.spareInt7 = 4;
  p.spareInt8 = 50;
  p.brightness = 62;
  p.spareInt9 = 0;
  p.spareInt10 = 0;
  p.spareInt11 = 0;
  p.nebulaScale = 16;
  p.texture = 57;
  p.contrast = 48;
  p.starScale = 62;
  p.fibrousness = 60;
  p.spareInt12 = 59;
  p.depth = 12;
  p.spareInt13 = 55;
  p.spareInt14 = 4;
  p.spareInt15 = 0;
  p.opacity = 26;
  p.paramB = 59;
  p.spareInt16 = 0;
  p.color = 67;
  p.spareInt18 = 0;
}

void InitNewRenderParams(RenderParams& p) {
  // The host's new handle may hold anything; fields the defaults leave alone
  // (spareColor4, spareInt17, dialog state) start from zero.
  std::memset(&p, 0, sizeof p);
  p.previewEnabled = 0;
  p.previewZoom = 1;
  SetTarget(p, RenderTarget::kHostImage);
  p.glue = std::int32_t(GlueMode::kNormal);
  p.settingsFolder[0] = '\0';
  p.psdFolder[0] = '\0';
  p.sourceFolder[0] = '\0';
  std::strncpy(p.settingsFileName, kDefaultSettingsFileName, kPathBytes - 1);
  LoadDefaults(p);
}

}  // namespace stellane
