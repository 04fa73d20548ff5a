// The value exchange between the controls and RenderParams, and the sliders'
// edit boxes.
#include <cstdio>
#include <cstdlib>

#include "dialog/MainDialog.h"
#include "params/ParamTable.h"

namespace stellane {

namespace {

constexpr int kEditTextBytes = 256;

// The longest leading decimal number of `text`; 0 when it starts with none.
double LeadingNumber(const char* text) {
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  return end == text ? 0.0 : v;
}

double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

void WriteSliderText(Globals& g, const ControlDesc& slider, double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  Window(g).SetControlText(slider.editPartner, text);
  // Our own writes never count as typing.
  Window(g).StopTimer(kEditTimer);
}

// A chip edits the three channel rows bound to it: red, green and blue in
// the table's order.
Color16 ChipColour(const RenderParams& p, int chip) {
  std::uint16_t channels[3] = {};
  int n = 0;
  for (const ParamInfo& row : ParamTable())
    if (row.dialogControl == chip && n < 3) channels[n++] = std::uint16_t(GetIntParam(p, row));
  return {channels[0], channels[1], channels[2]};
}

void SetChipColour(RenderParams& p, int chip, Color16 colour) {
  const std::uint16_t channels[3] = {colour.red, colour.green, colour.blue};
  int n = 0;
  for (const ParamInfo& row : ParamTable())
    if (row.dialogControl == chip && n < 3) SetIntParam(p, row, channels[n++]);
}

}  // namespace

void SetControlValue(Globals& g, int control, std::int32_t value) {
  if (control < 0 || control >= kControlCount) return;
  Dialog(g).controlValues[control] = value;
  Window(g).RepaintControl(control);
}

void SetSliderValue(Globals& g, int slider, std::int32_t value) {
  SetControlValue(g, slider, value);
  WriteSliderText(g, LookupControl(slider), value);
}

std::int32_t ReadSliderValue(Globals& g, int slider) {
  const ControlDesc& d = LookupControl(slider);
  char text[kEditTextBytes] = {};
  Window(g).GetControlText(d.editPartner, text, kEditTextBytes);
  const double typed = LeadingNumber(text);
  // NaN compares false both ways; it reads as the minimum.
  const double clamped = typed == typed ? Clamp(typed, d.minimum, d.maximum) : d.minimum;
  if (clamped != typed) WriteSliderText(g, d, clamped);
  return static_cast<std::int32_t>(clamped);
}

void ParamsToControls(Globals& g) {
  const RenderParams& p = *g.params;
  DialogRecord& r = Dialog(g);
  for (int c = 0; c < kControlCount; ++c) {
    if (!IsKind(c, ControlKind::ColorChip)) continue;
    r.colours[c] = ChipColour(p, c);
    Window(g).RepaintControl(c);
  }
  for (const ParamInfo& row : ParamTable())
    if (IsKind(row.dialogControl, ControlKind::Slider))
      SetSliderValue(g, row.dialogControl, GetIntParam(p, row));
  SetControlValue(g, ctl::kGlueList, p.glue);
  Window(g).SetListSelection(ctl::kGlueList, p.glue - 1);
}

void ControlsToParams(Globals& g) {
  RenderParams& p = *g.params;
  const DialogRecord& r = Dialog(g);
  for (int c = 0; c < kControlCount; ++c)
    if (IsKind(c, ControlKind::ColorChip)) SetChipColour(p, c, r.colours[c]);
  for (const ParamInfo& row : ParamTable())
    if (IsKind(row.dialogControl, ControlKind::Slider))
      SetIntParam(p, row, ReadSliderValue(g, row.dialogControl));
  p.glue = Window(g).ListSelection(ctl::kGlueList) + 1;
}

// Typing into a slider's edit box moves the track at once and schedules the
// preview one second after the last keystroke.
void EditTextChanged(Globals& g, int edit) {
  const ControlDesc& d = LookupControl(edit);
  char text[kEditTextBytes] = {};
  Window(g).GetControlText(edit, text, kEditTextBytes);
  const double typed = LeadingNumber(text);
  const double clamped = typed == typed ? Clamp(typed, d.minimum, d.maximum) : d.minimum;
  SetControlValue(g, d.control, static_cast<std::int32_t>(clamped));
  Window(g).StartTimer(kEditTimer, kTimerPeriodMs);
}

}  // namespace stellane
