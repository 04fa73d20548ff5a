// The layout and kinds of the main dialog's controls.
#include "dialog/ControlTable.h"

#include <array>

#include "params/ParamTable.h"

namespace stellane {

namespace {

constexpr ControlRect At(int top, int left, int width, int height) {
  return {top, left, top + height, left + width};
}

constexpr int kNone = -1;

// One slider row: label, track and edit box share the track's top.
struct SliderRow {
  int label;
  int track;
  int edit;
  const char* text;
  int top;
  int bitmap;
};

constexpr SliderRow kSliderRows[] = {
    {36, 37, 86, "A", 47, 1},
    {113, 114, 40, "B", 89, 1},
    {54, 55, 90, "Scale", 133, 1},
    {56, 57, 91, "Texture", 161, 1},
    {62, 63, 94, "Fibrousness", 189, 1},
    {58, 59, 92, "Contrast", 217, 1},
    {109, 110, 111, "Opacity", 245, 1},
    {38, 39, 85, "Density", 383, 2},
    {50, 51, 83, "Brightness", 410, 2},
    {60, 61, 93, "Scale", 438, 2},
    {97, 98, 99, "Depth", 466, 2},
    {64, 65, 81, "Color", 494, 2},
};

struct ButtonRow {
  int control;
  ControlKind kind;
  ControlRect rect;
};

constexpr ButtonRow kButtons[] = {
    {ctl::kOk, ControlKind::EndButton, At(529, 850, 60, 29)},
    {ctl::kCancel, ControlKind::EndButton, At(529, 554, 60, 29)},
    {ctl::kHex, ControlKind::IconButton, At(126, 314, 60, 29)},
    {ctl::kLoad, ControlKind::IconButton, At(245, 314, 60, 29)},
    {ctl::kSave, ControlKind::IconButton, At(292, 314, 60, 29)},
    {ctl::kPsd, ControlKind::IconButton, At(339, 314, 60, 29)},
    {ctl::kRandomseed, ControlKind::IconButton, At(386, 314, 60, 29)},
    {ctl::kUndo, ControlKind::IconButton, At(433, 314, 60, 29)},
    {ctl::kReset, ControlKind::IconButton, At(480, 314, 60, 29)},
    {ctl::kDice, ControlKind::IconButton, At(527, 314, 60, 29)},
    {ctl::kNextGlue, ControlKind::IconButton, At(537, 273, 15, 14)},
    {ctl::kZoomOut, ControlKind::IconButton, At(432, 693, 14, 14)},
    {ctl::kZoomFull, ControlKind::PlainButton, At(430, 713, 35, 17)},
    {ctl::kZoomIn, ControlKind::IconButton, At(432, 753, 14, 14)},
    {ctl::kInfo, ControlKind::IconButton, At(429, 555, 22, 22)},
    {ctl::kPresetPage, ControlKind::IconButton, At(430, 889, 22, 22)},
    {ctl::kLogo, ControlKind::LogoButton, At(528, 17, 32, 32)},
};

// The memory dots' arc around the thumbnail, index 0..24: (top, left).
constexpr int kDotPositions[25][2] = {
    {419, 401}, {431, 405}, {443, 405}, {456, 401}, {469, 397}, {482, 393}, {495, 393},
    {507, 397}, {518, 404}, {528, 412}, {536, 423}, {545, 435}, {551, 448}, {555, 463},
    {555, 478}, {551, 492}, {545, 505}, {536, 517}, {524, 526}, {511, 532}, {496, 536},
    {481, 536}, {467, 532}, {454, 526}, {442, 517},
};

// Icon resource numbers of the icon buttons: 200 + control number.
constexpr int IconFor(int control) { return 200 + control; }

ControlDesc Entry(int control, ControlKind kind, ControlRect rect) {
  return {control, kNone, kind, 0, 0, nullptr, 0, 0, rect};
}

// A control that edits a parameter takes its range from the parameter's row.
ControlDesc ParamEntry(int control, ControlKind kind, ControlRect rect) {
  ControlDesc d = Entry(control, kind, rect);
  if (const ParamInfo* row = ParamForControl(control)) {
    d.minimum = row->minimum;
    d.maximum = row->maximum;
  }
  return d;
}

std::array<ControlDesc, kControlCount> BuildTable() {
  std::array<ControlDesc, kControlCount> t{};
  for (int i = 0; i < kControlCount; ++i) t[i] = Entry(i, ControlKind::None, {0, 0, 0, 0});
  for (const SliderRow& s : kSliderRows) {
    const int labelLeft = s.label == 36 ? 36 : 37;
    t[s.label] = Entry(s.label, ControlKind::Label, At(s.top, labelLeft, 83, 17));
    t[s.label].text = s.text;
    t[s.track] = ParamEntry(s.track, ControlKind::Slider, At(s.top, 129, 135, 12));
    t[s.track].editPartner = s.edit;
    t[s.track].trackBitmap = s.bitmap;
    // The edit box reports its slider's description under its own kind.
    t[s.edit] = t[s.track];
    t[s.edit].kind = ControlKind::SliderEdit;
    t[s.edit].rect = At(s.top - 2, 272, 24, 12);
  }
  const struct {
    int control;
    const char* prompt;
    int top, left;
  } chips[] = {{ctl::kChipA1, "Choose the Nebula A color.", 43, 315},
               {ctl::kChipA2, "Choose the Nebula A color.", 43, 352},
               {ctl::kChipB1, "Choose the Nebula B color.", 84, 315},
               {ctl::kChipB2, "Choose the Nebula B color.", 84, 352}};
  for (const auto& c : chips) {
    t[c.control] = ParamEntry(c.control, ControlKind::ColorChip, At(c.top, c.left, 20, 20));
    t[c.control].text = c.prompt;
  }
  for (const ButtonRow& b : kButtons) {
    t[b.control] = Entry(b.control, b.kind, b.rect);
    if (b.kind == ControlKind::IconButton) t[b.control].icon = IconFor(b.control);
  }
  t[ctl::kGlueList] = ParamEntry(ctl::kGlueList, ControlKind::GlueList, At(534, 129, 115, 16));
  t[ctl::kGlueLabel] = Entry(ctl::kGlueLabel, ControlKind::Label, At(534, 51, 75, 17));
  t[ctl::kGlueLabel].text = "Glue";
  t[ctl::kPreview] = Entry(ctl::kPreview, ControlKind::PreviewFrame, At(6, 408, 504, 410));
  t[ctl::kStatusLine] = Entry(ctl::kStatusLine, ControlKind::Label, At(476, 555, 357, 18));
  t[ctl::kStatusLine].text = "";
  for (int i = 0; i < 25; ++i) {
    const int c = ctl::kFirstDot + i;
    t[c] = Entry(c, ControlKind::MemoryDot, At(kDotPositions[i][0], kDotPositions[i][1], 12, 12));
  }
  t[ctl::kDotThumbnail] =
      Entry(ctl::kDotThumbnail, ControlKind::DotThumbnail, At(430, 418, 96, 96));
  return t;
}

const std::array<ControlDesc, kControlCount> kTable = BuildTable();
const ControlDesc kNoControl = Entry(-1, ControlKind::None, {0, 0, 0, 0});

}  // namespace

const ControlDesc& LookupControl(int control) {
  if (control < 0 || control >= kControlCount) return kNoControl;
  return kTable[static_cast<std::size_t>(control)];
}

}  // namespace stellane
