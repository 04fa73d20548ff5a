// The value exchange between the controls and RenderParams, and the sliders'
// edit boxes.
#include <cstdio>
#include <cstdlib>

#include "dialog/MainDialog.h"

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
  RenderParams& p = *g.params;
  DialogRecord& r = Dialog(g);
  for (const ChipField& c : kChipFields) {
    r.colours[c.control] = p.*c.field;
    Window(g).RepaintControl(c.control);
  }
  for (const SliderField& s : kSliderFields) SetSliderValue(g, s.control, p.*s.field);
  SetControlValue(g, ctl::kGlueList, p.glue);
  Window(g).SetListSelection(ctl::kGlueList, p.glue - 1);
}

void ControlsToParams(Globals& g) {
  RenderParams& p = *g.params;
  const DialogRecord& r = Dialog(g);
  for (const ChipField& c : kChipFields) p.*c.field = r.colours[c.control];
  for (const SliderField& s : kSliderFields) p.*s.field = ReadSliderValue(g, s.control);
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
