// Painting of the main dialog's own areas: background, slider tracks and
// knobs, labels and the status line, memory dots, the thumbnail area and the
// owner-drawn colour chips. Every routine draws from the control table and
// the dialog record, so a repaint is always a fresh picture of the state.
#include <cstdio>
#include <vector>

#include "dialog/DialogViewWin32.h"
#include "dialog/MainDialog.h"
#include "host/TopDownBitmapWin32.h"
#include "image/TiledImage.h"
#include "params/FilePaths.h"

namespace stellane {

std::wstring Wide(const char* utf8) { return utf8 ? PathFromUtf8(utf8).wstring() : L""; }

namespace {

const COLORREF kDisabledGrey = RGB(140, 140, 140);

RECT ToRect(const ControlRect& r) { return {r.left, r.top, r.right, r.bottom}; }

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void Frame(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// Draws the whole bitmap with its top-left at (x, y); false when absent.
bool Blit(HDC dc, HBITMAP bitmap, int x, int y) {
  if (!bitmap) return false;
  BITMAP info;
  if (!GetObjectA(bitmap, sizeof info, &info)) return false;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  return true;
}

void PaintSlider(Globals& g, const DialogArt& art, HDC dc, const ControlDesc& d) {
  const DialogRecord& rec = Dialog(g);
  const bool enabled = rec.enabled[d.control] != 0;
  const RECT r = ToRect(d.rect);
  HBITMAP track =
      d.trackBitmap >= 1 && d.trackBitmap <= 2 ? art.tracks[d.trackBitmap - 1] : nullptr;
  if (!(enabled && Blit(dc, track, r.left, r.top))) {
    // The flat track: a box from (left, top) to (right - 2, top + 11).
    const RECT box = {r.left, r.top, r.right - 2, r.top + 11};
    Fill(dc, box, enabled ? RGB(222, 222, 255) : RGB(222, 222, 222));
    Frame(dc, box, enabled ? RGB(0, 0, 0) : kDisabledGrey);
    if (enabled) {
      Line(dc, box.left + 1, box.bottom - 2, box.left + 1, box.top + 1, kDisabledGrey);
      Line(dc, box.left + 1, box.top + 1, box.right - 1, box.top + 1, kDisabledGrey);
      Line(dc, box.left + 1, box.bottom - 2, box.right - 2, box.bottom - 2, RGB(255, 255, 255));
      Line(dc, box.right - 2, box.bottom - 2, box.right - 2, box.top + 1, RGB(255, 255, 255));
    }
  }
  if (!enabled) return;
  const int x = SliderKnobLeft(d, rec.controlValues[d.control]);
  if (!Blit(dc, art.knob, x, r.top + 1)) {
    const RECT knob = {x, r.top + 1, x + 12, r.top + 11};
    Fill(dc, knob, RGB(236, 240, 255));
    Frame(dc, knob, RGB(30, 40, 80));
  }
}

void PaintText(const DialogArt& art, HDC dc, const RECT& box, const char* text, COLORREF colour,
               UINT align) {
  HGDIOBJ old = SelectObject(dc, art.labelFont ? art.labelFont : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  RECT r = box;
  DrawTextW(dc, Wide(text).c_str(), -1, &r, align | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
}

void PaintLabel(Globals& g, const DialogArt& art, HDC dc, const ControlDesc& d) {
  const RECT area = ToRect(d.rect);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  PaintDialogBackground(art, dc, area);
  if (d.control == ctl::kStatusLine) {
    RECT box = area;
    box.left += 1;
    PaintText(art, dc, box, g.params->settingsFileName, RGB(0, 0, 0), DT_CENTER | DT_VCENTER);
  } else {
    // Less 2 pixels at the bottom, up 2, then centred for a 14-pixel line.
    RECT box = {area.left, area.top - 2, area.right, area.bottom - 4};
    const int shift = (box.bottom - box.top - 14) / 2;
    box.top += shift;
    box.bottom += shift;
    const bool enabled = Dialog(g).enabled[d.control] != 0;
    PaintText(art, dc, box, d.text ? d.text : "", enabled ? RGB(0, 0, 0) : kDisabledGrey,
              DT_RIGHT | DT_TOP);
  }
  RestoreDC(dc, saved);
}

void PaintDot(Globals& g, const DialogArt& art, HDC dc, const ControlDesc& d) {
  const RECT area = ToRect(d.rect);
  PaintDialogBackground(art, dc, area);
  const int picture = static_cast<int>(DotPictureOf(g, d.control - ctl::kFirstDot));
  if (Blit(dc, art.dots[picture], area.left, area.top + 2)) return;
  static const COLORREF kFallback[5] = {RGB(90, 100, 130), RGB(120, 170, 255), RGB(150, 150, 180),
                                        RGB(255, 220, 120), RGB(255, 240, 200)};
  const RECT pip = {area.left, area.top + 2, area.left + 8, area.top + 10};
  Fill(dc, pip, kFallback[picture / 2]);
  if (picture & 1) Frame(dc, pip, RGB(0, 0, 0));
}

void PaintThumbnailArea(Globals& g, const DialogArt& art, HDC dc, const ControlDesc& d) {
  const RECT area = ToRect(d.rect);
  if (!Blit(dc, art.thumbnailFrame, area.left, area.top)) {
    Fill(dc, area, RGB(20, 26, 48));
    Frame(dc, area, RGB(120, 140, 190));
  }
  DialogSession& s = Session(g);
  if (!s.dotThumbnailLoaded || !HasPixels(s.dotThumbnail)) return;
  // The 88 x 88 picture, 4 pixels inside the frame.
  const RECT picture = {area.left + 4, area.top + 4, area.left + 4 + kDotThumbnailSide,
                        area.top + 4 + kDotThumbnailSide};
  PaintPackedImage(dc, s.dotThumbnail, kDotThumbnailSide, kDotThumbnailSide, picture);
}

// The About picture, scaled into the logo's square.
void PaintLogo(const DialogArt& art, HDC dc, const ControlDesc& d) {
  BITMAP info;
  if (!art.logo || !GetObjectA(art.logo, sizeof info, &info)) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, art.logo);
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, d.rect.left, d.rect.top, d.rect.right - d.rect.left, d.rect.bottom - d.rect.top,
             source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace

void PaintPackedImage(HDC dc, const TiledImage& image, int sourceWidth, int sourceHeight,
                      const RECT& to) {
  const int width = to.right - to.left;
  const int height = to.bottom - to.top;
  if (width <= 0 || height <= 0 || !HasPixels(image)) return;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t w =
          ReadPacked(image, x * sourceWidth / width, y * sourceHeight / height, 0);
      pixels[static_cast<std::size_t>(y) * width + x] =
          (PackedChannel(w, 0) << 16) | (PackedChannel(w, 1) << 8) | PackedChannel(w, 2);
    }
  const BITMAPINFO info = TopDownBitmapInfo(width, height);
  SetDIBitsToDevice(dc, to.left, to.top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0,
                    0, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
}

void PaintDialogBackground(const DialogArt& art, HDC dc, const RECT& area) {
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  RECT all = {0, 0, kDesignWidth, kDesignHeight};
  Fill(dc, all, RGB(255, 255, 255));
  if (!Blit(dc, art.background, 0, 0)) Fill(dc, {0, 0, 923, kDesignHeight}, RGB(206, 212, 228));
  RestoreDC(dc, saved);
}

void PaintCustomControl(Globals& g, const DialogArt& art, HDC dc, int control) {
  const ControlDesc& d = LookupControl(control);
  switch (d.kind) {
    case ControlKind::Slider:
      PaintSlider(g, art, dc, d);
      break;
    case ControlKind::Label:
      PaintLabel(g, art, dc, d);
      break;
    case ControlKind::MemoryDot:
      PaintDot(g, art, dc, d);
      break;
    case ControlKind::DotThumbnail:
      PaintThumbnailArea(g, art, dc, d);
      break;
    case ControlKind::LogoButton:
      PaintLogo(art, dc, d);
      break;
    default:
      break;
  }
}

void PaintColourChip(Globals& g, const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  if (focused) {
    Frame(dc, r, RGB(0, 0, 0));
    InflateRect(&r, -1, -1);
  }
  Fill(dc, r, RGB(222, 222, 222));
  const RECT in = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  if (disabled) {
    Frame(dc, r, kDisabledGrey);
  } else if (pressed) {
    Frame(dc, r, RGB(0, 0, 0));
    Frame(dc, in, RGB(128, 128, 128));
  } else {
    Line(dc, r.left, r.bottom - 1, r.left, r.top, RGB(240, 240, 240));
    Line(dc, r.left, r.top, r.right - 1, r.top, RGB(240, 240, 240));
    Line(dc, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, RGB(0, 0, 0));
    Line(dc, r.right - 1, r.bottom - 1, r.right - 1, r.top - 1, RGB(0, 0, 0));
    Line(dc, in.left, in.bottom - 1, in.left, in.top, RGB(255, 255, 255));
    Line(dc, in.left, in.top, in.right - 1, in.top, RGB(255, 255, 255));
    Line(dc, in.left, in.bottom - 1, in.right - 1, in.bottom - 1, RGB(128, 128, 128));
    Line(dc, in.right - 1, in.bottom - 1, in.right - 1, in.top - 1, RGB(128, 128, 128));
  }
  const Color16 c = Dialog(g).colours[item.CtlID < kControlCount ? item.CtlID : 0];
  const int inset = focused ? 2 : 2;
  RECT face = {r.left + inset, r.top + inset, r.right - inset + (focused ? 1 : 0),
               r.bottom - inset + (focused ? 1 : 0)};
  Fill(dc, face, RGB(c.red >> 8, c.green >> 8, c.blue >> 8));
  if (focused) {
    RECT dotted = item.rcItem;
    InflateRect(&dotted, -4, -4);
    DrawFocusRect(dc, &dotted);
  }
}

}  // namespace stellane
