// The persistent parameter record. It lives in the host's `parameters` handle,
// so it must stay flat (no pointers) and keep its field order: the rendering
// parameters, their spare companions and the dialog's own persistent state.
#pragma once

#include <cstdint>

namespace stellane {

constexpr int kPathBytes = 260;

// A colour with 16-bit channels (0..65535); an 8-bit value v is held as v * 257.
struct Color16 {
  std::uint16_t red;
  std::uint16_t green;
  std::uint16_t blue;
};

struct Vector3f {
  float x;
  float y;
  float z;
};

struct MousePoint {
  std::int16_t x;
  std::int16_t y;
};

// The PSD export's size modes (outputMode): the image's size, or the custom
// width and height.
constexpr std::int32_t kOutputImageSize = 3;
constexpr std::int32_t kOutputCustomSize = 6;

// Where a rendering's rows go; the record stores it as renderTarget.
enum class RenderTarget : std::int32_t {
  kHostImage = 0,    // the host's output rows
  kPreview = 1,      // the dialog's preview buffers
  kExportImage = 2,  // an off-screen image (PSD export)
};

struct RenderParams {
  std::int32_t showDialog;  // non-zero: the next start shows the dialog
  std::int32_t captureControl;
  MousePoint previousMouse;
  MousePoint currentMouse;
  std::uint8_t previewEnabled;
  Vector3f vector1;
  Vector3f vector2;
  std::int32_t glue;  // glue mode 1..62; anything else composites as "normal"
  std::int32_t previewZoom;
  std::int32_t renderTarget;  // a RenderTarget
  std::int32_t previewPanX;
  std::int32_t previewPanY;
  std::int32_t randomSeed;
  std::int32_t customWidth;
  std::int32_t customHeight;
  Color16 colorA1;
  Color16 colorA2;
  Color16 spareColor1;
  Color16 colorB2;
  Color16 colorB1;
  Color16 spareColor2;
  Color16 spareColor3;
  Color16 spareColor4;
  std::int32_t spareInt1;
  std::int32_t spareInt2;
  std::int32_t spareInt3;
  std::int32_t spareInt4;
  std::int32_t paramA;
  std::int32_t density;
  std::int32_t spareInt5;
  std::int32_t spareInt6;
  std::int32_t spareInt7;
  std::int32_t spareInt8;
  std::int32_t brightness;
  std::int32_t spareInt9;
  std::int32_t spareInt10;
  std::int32_t spareInt11;
  std::int32_t nebulaScale;
  std::int32_t texture;
  std::int32_t contrast;
  std::int32_t starScale;
  std::int32_t fibrousness;
  std::int32_t spareInt12;
  std::int32_t depth;
  std::int32_t spareInt13;
  std::int32_t spareInt14;
  std::int32_t spareInt15;
  std::int32_t opacity;
  std::int32_t paramB;
  std::int32_t spareInt16;
  std::int32_t color;
  std::int32_t spareInt17;
  std::int32_t spareInt18;
  std::int32_t outputMode;  // kOutputImageSize or kOutputCustomSize
  char settingsFolder[kPathBytes];
  char psdFolder[kPathBytes];
  char sourceFolder[kPathBytes];
  char settingsFileName[kPathBytes];
};

inline RenderTarget TargetOf(const RenderParams& p) { return RenderTarget(p.renderTarget); }
inline void SetTarget(RenderParams& p, RenderTarget t) { p.renderTarget = std::int32_t(t); }

constexpr const char* kDefaultSettingsFileName = "Stellane settings.q9r";

// Sets every field that has a default in the parameter table: colours,
// integer parameters, seed, glue and both vectors. Dialog state, text
// fields, `spareColor4` and `spareInt17` keep their values.
void LoadDefaults(RenderParams& params);

// A record just created in a new handle: bookkeeping values, then the defaults.
void InitNewRenderParams(RenderParams& params);

}  // namespace stellane
