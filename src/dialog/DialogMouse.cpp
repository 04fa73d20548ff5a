// Slider geometry, hit testing and the mouse: press captures, moves drag a
// slider, pan the preview or press a memory dot, release acts.
#include <algorithm>

#include "dialog/MainDialog.h"

namespace stellane {

namespace {

// Where the pointer holds the knob, from the knob's left edge.
constexpr int kKnobGrip = 4;
// The previous x that makes the first posted move always count as a movement.
constexpr std::int16_t kNoPreviousX = -999;

bool Contains(const ControlRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool Capturable(ControlKind kind) {
  return kind == ControlKind::Slider || kind == ControlKind::LogoButton ||
         kind == ControlKind::MemoryDot || kind == ControlKind::DotThumbnail;
}

bool ZoomedIn(const Globals& g) { return g.params->previewZoom != g.previewFitFactor; }

void ShowCursor(Globals& g, DialogCursor cursor) {
  // The arrow is only set again when it is not already showing.
  if (cursor == DialogCursor::Arrow && Session(g).cursor == DialogCursor::Arrow) return;
  Session(g).cursor = cursor;
  Window(g).SetCursor(cursor);
}

void DragSlider(Globals& g, int slider, int x, int y) {
  RenderParams& p = *g.params;
  p.currentMouse = {static_cast<std::int16_t>(x - kKnobGrip), static_cast<std::int16_t>(y)};
  if (p.currentMouse.x == p.previousMouse.x && p.currentMouse.y == p.previousMouse.y) return;
  const std::int32_t value = SliderValueAt(LookupControl(slider), x);
  SetSliderValue(g, slider, value);
  p.previousMouse = p.currentMouse;
}

void PressDot(Globals& g, int dot, int x, int y) {
  std::int32_t& v = Dialog(g).controlValues[dot];
  if (Contains(LookupControl(dot).rect, x, y))
    v |= kDotPressedBit;
  else
    v &= ~kDotPressedBit;
  Window(g).RepaintControl(dot);
}

}  // namespace

std::int32_t SliderKnobLeft(const ControlDesc& s, std::int32_t value) {
  const std::int32_t span = std::max(s.maximum - s.minimum, 1);
  const ControlRect& r = s.rect;
  return r.left + 1 + (value - s.minimum) * (r.right - r.left - 1 - 14) / span;
}

std::int32_t SliderValueAt(const ControlDesc& s, std::int32_t pointerX) {
  const std::int32_t span = std::max(s.maximum - s.minimum, 1);
  const ControlRect& r = s.rect;
  const std::int32_t x = pointerX - kKnobGrip;
  const std::int32_t value = (x - (r.left + 1)) * span / (r.right - (r.left + 1) - 13) + s.minimum;
  return std::clamp(value, s.minimum, s.maximum);
}

int HitTestDialog(Globals& g, int x, int y) {
  const DialogRecord& r = Dialog(g);
  for (int c = 0; c < kControlCount; ++c) {
    if (!r.enabled[c]) continue;
    const ControlDesc& d = LookupControl(c);
    if (c != ctl::kPreview && !Capturable(d.kind)) continue;
    if (Contains(d.rect, x, y)) return c;
  }
  return -1;
}

void DialogMousePress(Globals& g, int x, int y, bool rightButton, bool ctrlHeld) {
  RenderParams& p = *g.params;
  g.rightButtonPress = rightButton ? 1 : 0;
  g.ctrlPress = !rightButton && ctrlHeld ? 1 : 0;
  const int hit = HitTestDialog(g, x, y);
  if (hit == ctl::kPreview && ZoomedIn(g)) {
    p.captureControl = ctl::kPreview;
    Window(g).CaptureMouse();
    p.previousMouse = {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
    ShowCursor(g, DialogCursor::ClosedHand);
  }
  if (hit >= 0 && Capturable(LookupControl(hit).kind)) {
    Window(g).CaptureMouse();
    p.captureControl = hit;
    Window(g).PostMouseMove(x, y);
    p.previousMouse.x = kNoPreviousX;
  }
}

void DialogMouseMove(Globals& g, int x, int y) {
  const int captured = g.params->captureControl;
  if (captured < 0) {
    const int hit = HitTestDialog(g, x, y);
    ShowCursor(g,
               hit == ctl::kPreview && ZoomedIn(g) ? DialogCursor::OpenHand : DialogCursor::Arrow);
    const int dot = DotIndex(hit);
    if (dot >= 0) DotHover(g, dot);
    return;
  }
  if (captured == ctl::kPreview) {
    PanPreview(g, x, y);
    return;
  }
  switch (LookupControl(captured).kind) {
    case ControlKind::Slider:
      DragSlider(g, captured, x, y);
      break;
    case ControlKind::MemoryDot:
      PressDot(g, captured, x, y);
      break;
    default:
      break;
  }
}

void DialogMouseRelease(Globals& g, int, int) {
  RenderParams& p = *g.params;
  const int captured = p.captureControl;
  Window(g).ReleaseMouse();
  if (captured < 0) return;
  const ControlKind kind = LookupControl(captured).kind;
  std::int32_t& value = Dialog(g).controlValues[captured];
  if (kind == ControlKind::MemoryDot && (value & kDotPressedBit)) {
    value &= ~kDotPressedBit;
    Window(g).RepaintControl(captured);
  }
  if (kind == ControlKind::LogoButton || kind == ControlKind::MemoryDot ||
      kind == ControlKind::DotThumbnail) {
    Window(g).PostCommand(captured);
    p.captureControl = -1;
  }
  if (kind == ControlKind::Slider || captured == ctl::kPreview) {
    ControlsToParams(g);
    TakeSnapshot(g, kind == ControlKind::Slider ? SnapshotKind::InMemory : SnapshotKind::None);
    Window(g).StopTimer(kEditTimer);
    RenderPreview(g);
    PaintPreview(g, true);
  }
  p.captureControl = -1;
}

}  // namespace stellane
