// Where the compositor reads the source pixel and writes its result. The
// destination is one of three: the host's current output row
// (RenderTarget::kHostImage), the host's preview buffers drawn over a
// checkerboard through the selection mask (kPreview), or level 0 of an
// off-screen image (kExportImage). Each is its own set of steps
// (DestinationSteps), picked from the target when a row is opened, so the
// compositor's per-pixel code never asks which one it writes to. The plug-in
// boundary fills the first two from the host's buffers (HostDestination);
// ImageDestination the third.
#pragma once

#include <algorithm>
#include <cstdint>

#include "params/RenderParams.h"

namespace stellane {

struct TiledImage;

enum class ImageKind { k8, k16, kFloat, kOther };

// Interleaved rows handed over by a host: the source and the output.
struct HostRows {
  const void* inData;
  void* outData;
  std::int32_t inRowBytes;
  std::int32_t outRowBytes;
  std::int32_t inPlanes;
  std::int32_t outPlanes;
  std::int32_t width;              // columns both buffers hold
  std::int32_t height;             // rows both buffers hold (one for the host's output row)
  std::int32_t transparencyPlane;  // editable transparency plane of the output, -1 for none
  bool rowAtOrigin;                // the buffers hold only the current row (the host's output)
};

// The selection mask rows a host supplied for the current request.
struct MaskRows {
  const std::uint8_t* data;  // null: no mask, everything is selected
  std::int32_t rowBytes;
  std::int32_t columns;   // columns the rows hold
  std::int32_t firstRow;  // work-area rows the data covers
  std::int32_t lastRow;
};

struct RenderDestination {
  RenderTarget target;
  ImageKind kind;
  bool grey;             // fewer than three colour planes: one value for all three
  std::int32_t columns;  // width of the rows the renderer fills
  std::int32_t workWidth;
  std::int32_t workHeight;
  HostRows rows;      // kHostImage and kPreview
  MaskRows mask;      // kPreview
  TiledImage* image;  // kExportImage
};

// Level 0 of `image` as the destination, in the units of an image of `kind`
// (grey: its source and result are one value for all three channels).
RenderDestination ImageDestination(TiledImage& image, ImageKind kind, bool grey);

// One interleaved RGB row in and out (the host's output row, no transparency)
// of a `width` x `height` work area.
RenderDestination RgbRowDestination(ImageKind kind, const void* in, void* out, std::int32_t width,
                                    std::int32_t height);

// Whether the destination has its pixels: host rows or an image.
bool HasDestinationPixels(const RenderDestination& d);

struct CompositeSite;

// One destination's own steps. `openRow` fills the row's part of the site
// (clamping its y); `copyUncomputedPlanes` carries over what the compositor
// does not compute; the rest read the source pixel and write the result at the
// site's column.
struct DestinationSteps {
  bool (*hasPixels)(const RenderDestination& d);
  bool (*openRow)(const RenderDestination& d, CompositeSite& site);
  void (*copyUncomputedPlanes)(const CompositeSite& site);
  void (*readSource)(const CompositeSite& site, std::int32_t source[3]);
  void (*writeInteger)(const CompositeSite& site, const std::int32_t result[3], std::int32_t alpha);
  void (*writeFloat)(const CompositeSite& site, const float rgb[3], float alpha);
};

// One pixel's place in the render target. What depends only on the row is
// resolved once per row (OpenCompositeRow); moving to a column is cheap.
struct CompositeSite {
  const RenderDestination* destination;
  const DestinationSteps* steps;
  ImageKind kind;
  std::int32_t x;  // clamped into the target
  std::int32_t y;
  std::int32_t maxX;  // the last column of the target
  std::int32_t max;   // channel maximum of the integer path: 255 or 32768
  float unit;         // what a rendered 1.0 becomes: 255, 32768 or 1.0
  bool grey;          // fewer than three colour planes: one value for all three
  // Host buffers (host image and preview): first byte of the row.
  const std::uint8_t* inRow;
  std::uint8_t* outRow;
  std::int32_t inPixelBytes;
  std::int32_t outPixelBytes;
  int transparencyPlane;  // plane index in the output pixel, -1 for none
  // Export image.
  TiledImage* image;
};

// Fills `site` for row y, clamped into the target, at no column yet. False
// when there is nowhere to write: no host buffers or image, an empty target,
// or an image kind the compositor does not handle.
bool OpenCompositeRow(const RenderDestination& d, std::int32_t y, CompositeSite& site);
// Copies, along the open row of the host's output (RenderTarget::kHostImage), the
// planes the compositor does not compute from the source: a transparency
// plane the host did not declare editable (GIMP's pspi gives filter case 0
// and four planes) and any further plane. GIMP's output buffer starts empty,
// so such a plane would otherwise come back as 0 and the layer turn
// transparent. The other destinations have no such planes.
inline void CopyUncomputedPlanes(const CompositeSite& site) {
  site.steps->copyUncomputedPlanes(site);
}
// Moves an open site to column x, clamped into the target.
inline void MoveCompositeSite(CompositeSite& site, std::int32_t x) {
  site.x = std::clamp(x, 0, site.maxX);
}
// Both at once: the site of the pixel at (x, y).
bool OpenCompositeSite(const RenderDestination& d, std::int32_t x, std::int32_t y,
                       CompositeSite& site);

// Source channel values of an integer image in 0..max; grey gives the one
// value thrice.
inline void ReadSource(const CompositeSite& site, std::int32_t source[3]) {
  site.steps->readSource(site, source);
}

// The selection weight 0..255 of the pixel: 0 outside the work area or
// outside the mask rows the host supplied, 255 when the host has no mask.
std::int32_t MaskValue(const RenderDestination& d, std::int32_t x, std::int32_t y);

// Writes an integer result (channels 0..max) and its alpha 0..max.
inline void WriteIntegerResult(const CompositeSite& site, const std::int32_t result[3],
                               std::int32_t alpha) {
  site.steps->writeInteger(site, result, alpha);
}
// Writes the float path's unchanged rendered colour and its alpha 0..1.
inline void WriteFloatResult(const CompositeSite& site, const float rgb[3], float alpha) {
  site.steps->writeFloat(site, rgb, alpha);
}

}  // namespace stellane
