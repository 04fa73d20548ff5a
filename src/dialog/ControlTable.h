// The main dialog's controls, one static table keyed by control number
// (0..199), and the numbers the behaviour refers to by name.
#pragma once

#include <cstdint>

namespace stellane {

constexpr int kControlCount = 200;
constexpr int kDesignWidth = 924;
constexpr int kDesignHeight = 573;

enum class ControlKind : std::uint8_t {
  None,
  Slider,
  SliderEdit,
  Label,
  EndButton,
  IconButton,
  ColorChip,
  GlueList,
  LogoButton,
  MemoryDot,
  DotThumbnail,
  PlainButton,
  PreviewFrame,
};

// Client pixels of the 924 x 573 design; bottom and right exclusive.
struct ControlRect {
  std::int32_t top;
  std::int32_t left;
  std::int32_t bottom;
  std::int32_t right;
};

struct ControlDesc {
  int control;      // own number; for a SliderEdit, the slider's number
  int editPartner;  // a slider's edit box, -1 none
  ControlKind kind;
  int trackBitmap;   // sliders: 1 upper group, 2 lower group; 0 none
  int icon;          // icon buttons: the icon resource number; 0 none
  const char* text;  // labels: the label text; chips: the prompt
  std::int32_t minimum;
  std::int32_t maximum;
  ControlRect rect;
};

// The description of a control number; kind None for numbers not in the table.
const ControlDesc& LookupControl(int control);
inline bool IsKind(int control, ControlKind kind) { return LookupControl(control).kind == kind; }

// The controls the dialog refers to by number.
namespace ctl {
constexpr int kCancel = 2;
constexpr int kOk = 3;
constexpr int kChipA1 = 7;
constexpr int kChipA2 = 8;
constexpr int kChipB2 = 19;
constexpr int kChipB1 = 20;
constexpr int kNextGlue = 12;
constexpr int kHex = 14;
constexpr int kPreview = 18;
constexpr int kGlueLabel = 22;
constexpr int kLogo = 25;
constexpr int kSave = 26;
constexpr int kZoomIn = 32;
constexpr int kZoomOut = 33;
constexpr int kZoomFull = 34;
constexpr int kLoad = 35;
constexpr int kDice = 72;
constexpr int kGlueList = 73;
constexpr int kUndo = 74;
constexpr int kRandomseed = 75;
constexpr int kStatusLine = 76;
constexpr int kReset = 115;
constexpr int kInfo = 116;
constexpr int kPsd = 117;
constexpr int kDotThumbnail = 119;
constexpr int kFirstDot = 121;
constexpr int kLastDot = 145;
constexpr int kPresetPage = 150;
}  // namespace ctl

constexpr int kEditTimer = 8064;
constexpr int kInfoBoxTimer = 997;
constexpr int kTimerPeriodMs = 1000;

}  // namespace stellane
