#include "glue/CompositorTargets.h"

#include <algorithm>
#include <cstring>

#include "image/TiledImage.h"

namespace stellane {

namespace {

int BytesPerChannel(ImageKind kind) {
  return kind == ImageKind::k8 ? 1 : kind == ImageKind::k16 ? 2 : 4;
}

std::int32_t LoadInt(const std::uint8_t* p, ImageKind kind) {
  if (kind == ImageKind::k8) return *p;
  std::uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void StoreInt(std::uint8_t* p, ImageKind kind, std::int32_t v) {
  if (kind == ImageKind::k8) {
    *p = static_cast<std::uint8_t>(v);
    return;
  }
  const std::uint16_t w = static_cast<std::uint16_t>(v);
  std::memcpy(p, &w, sizeof w);
}

void StoreFloat(std::uint8_t* p, float v) { std::memcpy(p, &v, sizeof v); }

bool IsEightBitFormat(std::int32_t format) {
  return format == kFormatGrey8 || format == kFormatPacked8;
}

// 8x8 squares: the darker value where bit 3 of x XOR y is set.
bool DarkSquare(std::int32_t x, std::int32_t y) { return ((x ^ y) & 8) != 0; }

// The 16-bit channel at 8-bit precision: ((v + 1) >> 7) & 511, at most 255.
std::int32_t SixteenTo8(std::int32_t v) { return std::min(255, ((v + 1) >> 7) & 511); }

// ---- The host's buffers, shared by its output rows and the preview.

bool HostRowsHavePixels(const RenderDestination& d) {
  return d.rows.inData != nullptr && d.rows.outData != nullptr;
}

bool OpenHostRow(const RenderDestination& d, CompositeSite& site) {
  const HostRows& rows = d.rows;
  if (!HostRowsHavePixels(d)) return false;
  if (rows.width <= 0 || rows.height <= 0) return false;
  site.maxX = rows.width - 1;
  site.y = std::clamp(site.y, 0, rows.height - 1);

  const int bytes = BytesPerChannel(site.kind);
  if (rows.outPlanes < 1 || rows.inPlanes < 1) return false;
  site.inPixelBytes = rows.inPlanes * bytes;
  site.outPixelBytes = rows.outPlanes * bytes;
  std::intptr_t inOffset = 0;
  std::intptr_t outOffset = 0;
  if (!rows.rowAtOrigin) {
    inOffset = std::intptr_t{site.y} * rows.inRowBytes;
    outOffset = std::intptr_t{site.y} * rows.outRowBytes;
  }
  site.inRow = static_cast<const std::uint8_t*>(rows.inData) + inOffset;
  site.outRow = static_cast<std::uint8_t*>(rows.outData) + outOffset;
  site.transparencyPlane = rows.transparencyPlane;
  site.grey = site.grey || rows.inPlanes < 3 || rows.outPlanes < 3;
  return true;
}

const std::uint8_t* HostIn(const CompositeSite& site) {
  return site.inRow + std::intptr_t{site.x} * site.inPixelBytes;
}
std::uint8_t* HostOut(const CompositeSite& site) {
  return site.outRow + std::intptr_t{site.x} * site.outPixelBytes;
}

void ReadHostSource(const CompositeSite& site, std::int32_t source[3]) {
  const std::uint8_t* in = HostIn(site);
  // The common case first: an 8-bit colour row.
  if (site.kind == ImageKind::k8 && !site.grey) {
    source[0] = in[0];
    source[1] = in[1];
    source[2] = in[2];
    return;
  }
  const int bytes = BytesPerChannel(site.kind);
  source[0] = std::min(LoadInt(in, site.kind), site.max);
  if (site.grey) {
    source[1] = source[2] = source[0];
    return;
  }
  source[1] = std::min(LoadInt(in + bytes, site.kind), site.max);
  source[2] = std::min(LoadInt(in + 2 * bytes, site.kind), site.max);
}

void CopyNoPlanes(const CompositeSite&) {}

// ---- The host's output row.

void CopyUncomputedHostPlanes(const CompositeSite& site) {
  const int bytes = BytesPerChannel(site.kind);
  const int computed = site.grey ? 1 : 3;
  const int planes = std::min(site.outPixelBytes, site.inPixelBytes) / bytes;
  for (int p = computed; p < planes; ++p) {
    if (p == site.transparencyPlane) continue;
    for (std::int32_t x = 0; x <= site.maxX; ++x)
      std::memcpy(site.outRow + std::intptr_t{x} * site.outPixelBytes + p * bytes,
                  site.inRow + std::intptr_t{x} * site.inPixelBytes + p * bytes,
                  static_cast<std::size_t>(bytes));
  }
}

void WriteHostInteger(const CompositeSite& site, const std::int32_t result[3], std::int32_t alpha) {
  std::uint8_t* out = HostOut(site);
  if (site.kind == ImageKind::k8 && !site.grey && site.transparencyPlane < 0) {
    out[0] = static_cast<std::uint8_t>(result[0]);
    out[1] = static_cast<std::uint8_t>(result[1]);
    out[2] = static_cast<std::uint8_t>(result[2]);
    return;
  }
  const int bytes = BytesPerChannel(site.kind);
  const int channels = site.grey ? 1 : 3;
  for (int c = 0; c < channels; ++c) StoreInt(out + c * bytes, site.kind, result[c]);
  if (site.transparencyPlane >= 0) StoreInt(out + site.transparencyPlane * bytes, site.kind, alpha);
}

void WriteHostFloat(const CompositeSite& site, const float rgb[3], float alpha) {
  std::uint8_t* out = HostOut(site);
  const int channels = site.grey ? 1 : 3;
  for (int c = 0; c < channels; ++c) StoreFloat(out + 4 * c, rgb[c]);
  if (site.transparencyPlane >= 0) StoreFloat(out + 4 * site.transparencyPlane, alpha);
}

// ---- The preview: the result over the checkerboard, weighted by the
// selection and, with a transparency plane, by the rendered alpha; the
// preview is opaque.

void WritePreviewInteger(const CompositeSite& site, const std::int32_t result[3],
                         std::int32_t alpha) {
  std::uint8_t* out = HostOut(site);
  const int bytes = BytesPerChannel(site.kind);
  const int channels = site.grey ? 1 : 3;
  const bool dark = DarkSquare(site.x, site.y);
  std::int32_t w = MaskValue(*site.destination, site.x, site.y);
  if (site.kind == ImageKind::k8) {
    if (w > 127) ++w;
    if (site.transparencyPlane >= 0) {
      w = (w * alpha) >> 8;
      StoreInt(out + site.transparencyPlane, site.kind, 255);
    }
    const std::int32_t checker = dark ? 204 : 255;
    for (int c = 0; c < channels; ++c) {
      StoreInt(out + c, site.kind, (w * result[c] + (256 - w) * checker) >> 8);
    }
  } else {
    if (site.transparencyPlane >= 0) {
      w = (w * alpha) >> 15;
      StoreInt(out + site.transparencyPlane * bytes, site.kind, 32768);
    }
    const std::int32_t checker = dark ? 26112 : 32640;
    for (int c = 0; c < channels; ++c) {
      StoreInt(out + c * bytes, site.kind, (w * result[c] + (255 - w) * checker) >> 8);
    }
  }
}

void WritePreviewFloat(const CompositeSite& site, const float rgb[3], float alpha) {
  std::uint8_t* out = HostOut(site);
  const int channels = site.grey ? 1 : 3;
  float w = static_cast<float>(MaskValue(*site.destination, site.x, site.y)) * 0.003921569f;
  if (site.transparencyPlane >= 0) {
    w = w * alpha;
    StoreFloat(out + 4 * site.transparencyPlane, w);
  }
  const float checker = DarkSquare(site.x, site.y) ? 0.8f : 1.0f;
  for (int c = 0; c < channels; ++c) {
    StoreFloat(out + 4 * c, w * rgb[c] + (1.0f - w) * checker);
  }
}

// ---- Level 0 of an off-screen image.

bool ImageHasPixels(const RenderDestination& d) {
  return d.image != nullptr && HasPixels(*d.image);
}

bool OpenImageRow(const RenderDestination& d, CompositeSite& site) {
  site.image = d.image;
  if (site.image == nullptr || !HasPixels(*site.image)) return false;
  const ImageLevel& level0 = site.image->levels[0];
  site.maxX = level0.maxX;
  site.y = std::clamp(site.y, 0, level0.maxY);
  return true;
}

void ReadImageSource(const CompositeSite& site, std::int32_t source[3]) {
  const TiledImage& image = *site.image;
  if (image.maxValue == static_cast<float>(site.max)) {
    std::int32_t four[4];
    ReadChannels(image, site.x, site.y, 0, four);
    for (int c = 0; c < 3; ++c) source[c] = std::clamp(four[c], 0, site.max);
  } else {
    // An export image in other units than the host image: carried over in
    // units of full intensity, rounded.
    float four[4];
    ReadChannelsFloat(image, site.x, site.y, 0, four);
    for (int c = 0; c < 3; ++c) {
      const float v = four[c] * image.invMaxValue * static_cast<float>(site.max) + 0.5f;
      source[c] =
          v > 0.0f ? std::min(static_cast<std::int32_t>(std::min(v, 65536.0f)), site.max) : 0;
    }
  }
  if (site.grey) source[1] = source[2] = source[0];
}

void WriteImageInteger(const CompositeSite& site, const std::int32_t result[3],
                       std::int32_t alpha) {
  TiledImage& image = *site.image;
  const std::int32_t four[4] = {result[0], result[1], result[2], alpha};
  if (IsEightBitFormat(image.format) && site.kind == ImageKind::k16) {
    const std::int32_t eight[4] = {SixteenTo8(four[0]), SixteenTo8(four[1]), SixteenTo8(four[2]),
                                   SixteenTo8(four[3])};
    WriteChannels(image, site.x, site.y, 0, eight);
  } else if (image.maxValue == static_cast<float>(site.max)) {
    WriteChannels(image, site.x, site.y, 0, four);
  } else {
    float scaled[4];
    const float factor = image.maxValue / static_cast<float>(site.max);
    for (int c = 0; c < 4; ++c) scaled[c] = static_cast<float>(four[c]) * factor;
    WriteChannelsFloat(image, site.x, site.y, 0, scaled);
  }
}

void WriteImageFloat(const CompositeSite& site, const float rgb[3], float alpha) {
  TiledImage& image = *site.image;
  const float four[4] = {rgb[0], rgb[1], rgb[2], alpha};
  if (IsEightBitFormat(image.format)) {
    std::int32_t eight[4];
    for (int c = 0; c < 4; ++c) eight[c] = LinearToDisplayByte(four[c]);
    WriteChannels(image, site.x, site.y, 0, eight);
  } else {
    float scaled[4];
    for (int c = 0; c < 4; ++c) scaled[c] = four[c] * image.maxValue;
    WriteChannelsFloat(image, site.x, site.y, 0, scaled);
  }
}

constexpr DestinationSteps kHostImageSteps{.hasPixels = HostRowsHavePixels,
                                           .openRow = OpenHostRow,
                                           .copyUncomputedPlanes = CopyUncomputedHostPlanes,
                                           .readSource = ReadHostSource,
                                           .writeInteger = WriteHostInteger,
                                           .writeFloat = WriteHostFloat};
constexpr DestinationSteps kPreviewSteps{.hasPixels = HostRowsHavePixels,
                                         .openRow = OpenHostRow,
                                         .copyUncomputedPlanes = CopyNoPlanes,
                                         .readSource = ReadHostSource,
                                         .writeInteger = WritePreviewInteger,
                                         .writeFloat = WritePreviewFloat};
constexpr DestinationSteps kImageSteps{.hasPixels = ImageHasPixels,
                                       .openRow = OpenImageRow,
                                       .copyUncomputedPlanes = CopyNoPlanes,
                                       .readSource = ReadImageSource,
                                       .writeInteger = WriteImageInteger,
                                       .writeFloat = WriteImageFloat};

// The one place a render target picks its steps. A target outside the enum
// is drawn like the preview, as it always was.
const DestinationSteps& StepsOf(RenderTarget target) {
  switch (target) {
    case RenderTarget::kHostImage:
      return kHostImageSteps;
    case RenderTarget::kExportImage:
      return kImageSteps;
    case RenderTarget::kPreview:
      break;
  }
  return kPreviewSteps;
}

}  // namespace

RenderDestination ImageDestination(TiledImage& image, ImageKind kind, bool grey) {
  RenderDestination d{};
  d.target = RenderTarget::kExportImage;
  d.kind = kind;
  d.grey = grey;
  d.image = &image;
  d.columns = image.levels[0].width;
  d.workWidth = image.levels[0].width;
  d.workHeight = image.levels[0].height;
  return d;
}

RenderDestination RgbRowDestination(ImageKind kind, const void* in, void* out, std::int32_t width,
                                    std::int32_t height) {
  RenderDestination d{};
  d.target = RenderTarget::kHostImage;
  d.kind = kind;
  d.columns = d.workWidth = width;
  d.workHeight = height;
  const std::int32_t rowBytes = width * 3 * BytesPerChannel(kind);
  d.rows = {in, out, rowBytes, rowBytes, 3, 3, width, 1, -1, true};
  return d;
}

bool HasDestinationPixels(const RenderDestination& d) { return StepsOf(d.target).hasPixels(d); }

bool OpenCompositeRow(const RenderDestination& d, std::int32_t y, CompositeSite& site) {
  site = CompositeSite{};
  site.destination = &d;
  site.kind = d.kind;
  if (site.kind == ImageKind::kOther) return false;
  site.steps = &StepsOf(d.target);
  site.y = y;
  site.max = site.kind == ImageKind::k16 ? 32768 : 255;
  site.unit = site.kind == ImageKind::kFloat ? 1.0f : static_cast<float>(site.max);
  site.grey = d.grey;
  site.transparencyPlane = -1;
  return site.steps->openRow(d, site);
}

bool OpenCompositeSite(const RenderDestination& d, std::int32_t x, std::int32_t y,
                       CompositeSite& site) {
  if (!OpenCompositeRow(d, y, site)) return false;
  MoveCompositeSite(site, x);
  return true;
}

std::int32_t MaskValue(const RenderDestination& d, std::int32_t x, std::int32_t y) {
  const MaskRows& m = d.mask;
  if (x < 0 || y < 0 || x >= d.workWidth || y >= d.workHeight) return 0;
  if (m.data == nullptr) return 255;
  if (y < m.firstRow || y > m.lastRow) return 0;
  // Also outside the columns the host supplied: never read past its rows.
  if (x >= m.columns) return 0;
  return m.data[std::intptr_t{y - m.firstRow} * m.rowBytes + x];
}

}  // namespace stellane
