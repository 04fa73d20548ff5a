// The live preview: a reduced copy of the host's image, rendered through the
// band loop with RenderTarget::kPreview and drawn by the host's displayPixels.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "dialog/DialogEntry.h"
#include "dialog/MainDialog.h"
#include "host/BandLoop.h"
#include "host/HostQuirks.h"
#include "host/HostServices.h"
#include "host/RenderJobs.h"
#include "host/WorkArea.h"

namespace stellane {

namespace {

constexpr std::int32_t kFrameInset = 2;

std::int32_t CeilDiv(std::int32_t a, std::int32_t b) { return (a + b - 1) / b; }

ps::VRect ToVRect(const ps::Rect16& r) { return {r.top, r.left, r.bottom, r.right}; }

std::int32_t OutputPlanes(const ps::FilterRecord* fr) {
  return fr->outHiPlane - fr->outLoPlane + 1;
}

void ClampPan(Globals& g, std::int32_t factor) {
  RenderParams& p = *g.params;
  const ps::VRect area = PreviewArea(g);
  const std::int32_t f = std::max(factor, 1);
  const std::int32_t maxX = std::max(0, (g.filterWidth / f - (area.right - area.left)) * f);
  const std::int32_t maxY = std::max(0, (g.filterHeight / f - (area.bottom - area.top)) * f);
  p.previewPanX = std::clamp(p.previewPanX, 0, maxX);
  p.previewPanY = std::clamp(p.previewPanY, 0, maxY);
}

// Keeps the image point at the centre of the view there while the factor
// changes from a to b.
void Recentre(Globals& g, std::int32_t a, std::int32_t b) {
  const ps::FilterRecord* fr = g.filterRecord;
  RenderParams& p = *g.params;
  const ps::Rect16& in = fr->inRect;
  const std::int32_t cx = (in.left * a + in.right * a) / 2;
  const std::int32_t cy = (in.top * a + in.bottom * a) / 2;
  const ps::VRect area = PreviewArea(g);
  const std::int32_t w = (area.right - area.left) * b;
  const std::int32_t h = (area.bottom - area.top) * b;
  p.previewPanX = cx - w / 2 - fr->filterRect.left;
  p.previewPanY = cy - h / 2 - fr->filterRect.top;
  ClampPan(g, b);
}

void ShowBusy(Globals& g, bool busy) {
  DialogSession& s = Session(g);
  const DialogCursor c = busy ? DialogCursor::Busy : DialogCursor::Arrow;
  if (s.cursor == c) return;
  s.cursor = c;
  s.window->SetCursor(c);
}

// The host's output area centred in the frame: its top-left in client pixels.
void CentredOrigin(const Globals& g, std::int32_t& top, std::int32_t& left) {
  const ps::Rect16& out = g.filterRecord->outRect;
  const ControlRect& frame = LookupControl(ctl::kPreview).rect;
  left = (frame.left + frame.right - (out.right - out.left)) / 2;
  top = (frame.top + frame.bottom - (out.bottom - out.top)) / 2;
}

bool GreyMode(std::int32_t mode) {
  return mode == ps::plugInModeGrayScale || mode == ps::plugInModeGray16 ||
         mode == ps::plugInModeGray32;
}

// One output sample as a display byte: 8-bit as is, 16-bit from 0..32768,
// float through the display conversion.
std::uint8_t DisplayByte(ImageKind kind, const std::uint8_t* sample) {
  if (kind == ImageKind::k16)
    return static_cast<std::uint8_t>(
        std::min(*reinterpret_cast<const std::uint16_t*>(sample) >> 7, 255));
  if (kind == ImageKind::kFloat)
    return LinearToDisplayByte(*reinterpret_cast<const float*>(sample));
  return *sample;
}

// Draws `src` (inside the output area) of the host's output buffer at its
// place in the frame.
//
// Hosts read a pixel map in ways of their own, so every host is handed the
// plainest map there is: a copy of the drawn area alone, 8 bits per sample,
// one byte per colour plane (no transparency plane), with bounds and srcRect
// starting at (0, 0). pspiHost (the host DLL of older PhotoDemon builds)
// needs all of it: for a grey map it allocates a bitmap of srcRect's height
// and writes from row srcRect.top on, so a preview drawn row by row wrote
// past that bitmap and the host died with a page fault; it ignores colBytes
// for grey, which drew a grey map with transparency as vertical stripes; it
// ignores srcRect's origin for RGB; and it takes RGB samples blue first,
// which showed the preview with red and blue swapped.
void DrawOutput(Globals& g, const ps::VRect& src) {
  ps::FilterRecord* fr = g.filterRecord;
  if (!HasDisplayPixels(fr) || !fr->outData || src.bottom <= src.top || src.right <= src.left)
    return;
  const ImageKind kind = ImageKindOf(*fr);
  if (kind == ImageKind::kOther) return;
  const ps::Rect16& out = fr->outRect;
  std::int32_t top = 0;
  std::int32_t left = 0;
  CentredOrigin(g, top, left);
  const std::int32_t sampleBytes = kind == ImageKind::k16 ? 2 : kind == ImageKind::kFloat ? 4 : 1;
  const std::int32_t pixelBytes = OutputPlanes(fr) * sampleBytes;
  const bool grey = GreyMode(fr->imageMode);
  const std::int32_t colours = std::min(OutputPlanes(fr), grey ? 1 : 3);
  const bool blueFirst = colours == 3 && HostHas(fr, HostQuirk::kBlueFirstPreviewPixels);
  const std::int32_t width = src.right - src.left;
  const std::int32_t rows = src.bottom - src.top;

  // 8-bit pixels of the colour planes alone, in their own order: whole rows.
  const bool rowsAsTheyAre = kind == ImageKind::k8 && colours == OutputPlanes(fr) && !blueFirst;

  WorkBuffer copy;
  if (!AllocateWorkBuffer(fr, width * rows * colours, copy)) return;
  auto* to = static_cast<std::uint8_t*>(copy.data);
  for (std::int32_t y = src.top; y < src.bottom; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(fr->outData) +
                      std::intptr_t{y - out.top} * fr->outRowBytes;
    if (rowsAsTheyAre) {
      std::memcpy(to, row + std::intptr_t{src.left - out.left} * pixelBytes,
                  std::size_t(width) * std::size_t(colours));
      to += std::intptr_t{width} * colours;
      continue;
    }
    for (std::int32_t x = src.left; x < src.right; ++x) {
      const std::uint8_t* pixel = row + std::intptr_t{x - out.left} * pixelBytes;
      for (std::int32_t c = 0; c < colours; ++c)
        *to++ = DisplayByte(kind, pixel + (blueFirst ? 2 - c : c) * sampleBytes);
    }
  }
  ps::PSPixelMap map{};
  map.version = 1;
  map.bounds = {0, 0, rows, width};
  map.imageMode = grey ? ps::plugInModeGrayScale : ps::plugInModeRGBColor;
  map.rowBytes = width * colours;
  map.colBytes = colours;
  map.planeBytes = 1;
  map.baseAddr = copy.data;
  fr->displayPixels(&map, &map.bounds, top + (src.top - out.top), left + (src.left - out.left),
                    Window(g).PreviewDrawingContext());
  ReleaseWorkBuffer(fr, copy);
}

}  // namespace

bool PreviewFacilities(const ps::FilterRecord* fr) {
  return HasAdvanceState(fr) && HasDisplayPixels(fr) && fr->samplingSupport != 0;
}

std::int32_t FitFactor(std::int32_t filterWidth, std::int32_t filterHeight, std::int32_t areaWidth,
                       std::int32_t areaHeight) {
  // An empty filter rectangle leaves an empty area: nothing to reduce.
  if (areaWidth <= 0 || areaHeight <= 0) return 1;
  return std::max({CeilDiv(filterHeight, areaHeight), CeilDiv(filterWidth, areaWidth), 1});
}

ps::VRect PreviewArea(const Globals& g) {
  const ControlRect& frame = LookupControl(ctl::kPreview).rect;
  const std::int32_t w = std::min(frame.right - frame.left - 2 * kFrameInset, g.filterWidth);
  const std::int32_t h = std::min(frame.bottom - frame.top - 2 * kFrameInset, g.filterHeight);
  const std::int32_t top = frame.top + kFrameInset;
  const std::int32_t left = frame.left + kFrameInset;
  return {top, left, top + std::max(h, 0), left + std::max(w, 0)};
}

bool RequestReducedArea(Globals& g, std::int32_t f) {
  ps::FilterRecord* fr = g.filterRecord;
  RenderParams& p = *g.params;
  f = std::max(f, 1);
  const ps::Rect16 filter = fr->filterRect;
  const ps::VRect area = PreviewArea(g);
  std::int32_t left = std::max(filter.left + p.previewPanX, std::int32_t{filter.left}) / f;
  std::int32_t top = std::max(filter.top + p.previewPanY, std::int32_t{filter.top}) / f;
  std::int32_t right = std::min(filter.right + p.previewPanX, std::int32_t{filter.right}) / f;
  std::int32_t bottom = std::min(filter.bottom + p.previewPanY, std::int32_t{filter.bottom}) / f;
  right = std::min(right, left + (area.right - area.left));
  bottom = std::min(bottom, top + (area.bottom - area.top));
  const std::int32_t width = std::max(right - left, 0);
  const std::int32_t height = std::max(bottom - top, 0);

  auto S = [](std::int32_t v) { return static_cast<std::int16_t>(v); };
  const ps::Rect16 in = {S(top), S(left), S(top + height), S(left + width)};
  const ps::Rect16 out = {filter.top, filter.left, S(filter.top + height), S(filter.left + width)};
  ps::Rect16 mask = in;
  if (HostHas(fr, HostQuirk::kReducedMaskCoordinates) && f >= 2) {
    const std::int16_t dx = S(p.previewPanX / f);
    const std::int16_t dy = S(p.previewPanY / f);
    mask = {dy, dx, S(dy + height), S(dx + width)};
  }
  FillPixelRequest(fr, in, out, mask, f << 16);
  Session(g).status = AdvanceState(fr);
  if (Session(g).status != ps::noErr) return false;
  p.previewZoom = f;
  SetWorkArea(g, fr->inRect, f);
  return true;
}

void ComputeFitFactor(Globals& g) {
  const ps::VRect area = PreviewArea(g);
  g.previewFitFactor =
      PreviewFacilities(g.filterRecord)
          ? FitFactor(g.filterWidth, g.filterHeight, area.right - area.left, area.bottom - area.top)
          : 1;
}

void SetUpPreview(Globals& g) {
  RenderParams& p = *g.params;
  ComputeFitFactor(g);
  p.previewZoom = g.previewFitFactor;
  p.previewPanX = 0;
  p.previewPanY = 0;
  const bool delivered = RequestReducedArea(g, p.previewZoom);
  ShowBusy(g, true);
  if (!delivered) {
    p.previewEnabled = 0;
    Session(g).status = ps::noErr;
  } else {
    RenderPreview(g);
  }
  ShowBusy(g, false);
}

void RenderPreview(Globals& g) {
  // After a failed host call nothing renders until a request succeeds again.
  if (!g.params->previewEnabled || Session(g).status != ps::noErr) return;
  ShowBusy(g, true);
  Session(g).status = WholeImageRender(g);
  ShowBusy(g, false);
}

void PaintPreview(Globals& g, bool withFill) {
  if (!g.params->previewEnabled) return;
  Window(g).DrawPreviewOutline();
  const ps::FilterRecord* fr = g.filterRecord;
  const ps::VRect out = ToVRect(fr->outRect);
  DrawOutput(g, out);
  if (withFill) {
    std::int32_t top = 0;
    std::int32_t left = 0;
    CentredOrigin(g, top, left);
    Window(g).FillPreviewSurround(
        {top, left, top + (out.bottom - out.top), left + (out.right - out.left)});
  }
}

void RefreshPreview(Globals& g) {
  ControlsToParams(g);
  RenderPreview(g);
  PaintPreview(g, true);
}

void DisplayPreviewRow(Globals& g, std::int32_t row) {
  if (!g.dialogSession) return;
  const ps::Rect16& out = g.filterRecord->outRect;
  DrawOutput(g, {out.top + row, out.left, out.top + row + 1, out.right});
}

bool ZoomCommand(Globals& g, int control) {
  if (control != ctl::kZoomOut && control != ctl::kZoomIn && control != ctl::kZoomFull)
    return false;
  if (!PreviewFacilities(g.filterRecord)) return true;
  RenderParams& p = *g.params;
  const std::int32_t f = p.previewZoom;
  if (control == ctl::kZoomOut) {
    if (f >= g.previewFitFactor) return true;
    Recentre(g, f, f + 1);
    p.previewZoom = f + 1;
    if (p.previewZoom == g.previewFitFactor) p.previewPanX = p.previewPanY = 0;
  } else if (control == ctl::kZoomIn) {
    if (f <= 1) return true;
    Recentre(g, f, f - 1);
    p.previewZoom = f - 1;
  } else {
    Recentre(g, f, 1);
    p.previewZoom = 1;
  }
  RequestReducedArea(g, p.previewZoom);
  Session(g).refresh = true;
  return true;
}

void UpdateZoomState(Globals& g) {
  const bool facilities = PreviewFacilities(g.filterRecord);
  const std::int32_t zoom = std::max(g.params->previewZoom, 1);
  DialogRecord& r = Dialog(g);
  r.enabled[ctl::kZoomOut] = facilities && zoom < g.previewFitFactor;
  r.enabled[ctl::kZoomIn] = facilities && zoom >= 2;
  char caption[16];
  std::snprintf(caption, sizeof caption, "%d%%", static_cast<int>(100 / zoom));
  Window(g).SetControlText(ctl::kZoomFull, caption);
  for (int c : {ctl::kZoomOut, ctl::kZoomFull, ctl::kZoomIn}) Window(g).RepaintControl(c);
}

void PanPreview(Globals& g, int x, int y) {
  RenderParams& p = *g.params;
  const std::int32_t dx = (x - p.previousMouse.x) * p.previewZoom;
  const std::int32_t dy = (y - p.previousMouse.y) * p.previewZoom;
  p.currentMouse = {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
  if (dx == 0 && dy == 0) {
    p.previousMouse = p.currentMouse;
    return;
  }
  p.previewPanX -= dx;
  p.previewPanY -= dy;
  ClampPan(g, p.previewZoom);
  RequestReducedArea(g, p.previewZoom);
  DialogSession& s = Session(g);
  if (s.cursor != DialogCursor::ClosedHand) {
    s.cursor = DialogCursor::ClosedHand;
    s.window->SetCursor(DialogCursor::ClosedHand);
  }
  const ps::Rect16& out = g.filterRecord->outRect;
  for (std::int32_t row = 0; row < out.bottom - out.top; ++row) QuickPassRow(g, row);
  PaintPreview(g, false);
  p.previousMouse = p.currentMouse;
}

}  // namespace stellane
