// The main dialog's behaviour as plain functions over Globals and
// RenderParams. The window (Win32 view or a test's fake) turns its messages
// into these calls; everything the behaviour needs back goes through
// DialogWindow.
#pragma once

#include <cstdint>

#include "dialog/DialogState.h"
#include "host/Globals.h"

namespace stellane {

// Notification codes of a command.
constexpr int kNotifyClick = 0;
constexpr int kNotifySelectionChanged = 1;
constexpr int kNotifyTextChanged = 0x300;

// ---- Lifetime

// The initialisation message: backup, controls, memory dots, first preview.
// `session` must outlive the dialog; CloseMainDialog ends it.
void OpenMainDialog(Globals& g, DialogSession& session, DialogWindow& window);
// Releases what the open dialog holds (after OK or Cancel ended it).
void CloseMainDialog(Globals& g);

// ---- Messages

void DialogCommand(Globals& g, int control, int notifyCode);
void DialogTimer(Globals& g, int timer);
void DialogMousePress(Globals& g, int x, int y, bool rightButton, bool ctrlHeld);
void DialogMouseMove(Globals& g, int x, int y);
void DialogMouseRelease(Globals& g, int x, int y);

// ---- Value exchange and controls

void ParamsToControls(Globals& g);
void ControlsToParams(Globals& g);
// Stores a control's value and repaints it.
void SetControlValue(Globals& g, int control, std::int32_t value);
// A slider's position: the track value, its repaint and the edit text.
void SetSliderValue(Globals& g, int slider, std::int32_t value);
// Reads a slider's edit box, clamped (and rewritten when clamping changed it).
std::int32_t ReadSliderValue(Globals& g, int slider);
// The edit rule: typed text moves the track and (re)starts the edit timer.
void EditTextChanged(Globals& g, int edit);

// ---- Slider geometry and hit testing

// The knob's left edge for a value.
std::int32_t SliderKnobLeft(const ControlDesc& slider, std::int32_t value);
// The value for a pointer x while dragging (the knob held 4 pixels in).
std::int32_t SliderValueAt(const ControlDesc& slider, std::int32_t pointerX);
// The control under a client point, or -1.
int HitTestDialog(Globals& g, int x, int y);

// ---- Preview

// Whether the host offers advanceState, displayPixels and a sampling rate.
bool PreviewFacilities(const ps::FilterRecord* fr);
// The fit factor of a W x H filter rectangle into the w x h preview area.
std::int32_t FitFactor(std::int32_t filterWidth, std::int32_t filterHeight, std::int32_t areaWidth,
                       std::int32_t areaHeight);
// The preview area: the frame inset by 2, cut to the filter rectangle.
ps::VRect PreviewArea(const Globals& g);
// The fit factor of this run's image, into Globals (1 without the facilities).
void ComputeFitFactor(Globals& g);
void SetUpPreview(Globals& g);
// Asks the host for the reduced area at factor f; true when it delivered.
bool RequestReducedArea(Globals& g, std::int32_t f);
void RenderPreview(Globals& g);
void PaintPreview(Globals& g, bool withFill);
void RefreshPreview(Globals& g);
void UpdateZoomState(Globals& g);
void QuickPassRow(Globals& g, std::int32_t row);
// A mouse move while the preview holds the capture: the view follows the
// pointer, shown unfiltered until the release renders it.
void PanPreview(Globals& g, int x, int y);
// "-", "+" and "%"; true when the control was one of them.
bool ZoomCommand(Globals& g, int control);

// ---- Random settings

std::int32_t RandomNumber(std::int32_t low, std::int32_t high);
Color16 RandomColour(std::int32_t desaturation);
void DiceParams(RenderParams& p);
void RandomColours(RenderParams& p);

// ---- Parameter sets, undo and memory dots

// Copies every field a settings file carries.
void CopyParamSet(RenderParams& to, const RenderParams& from);

enum class SnapshotKind : std::uint8_t { None, InMemory, WithFile };
void TakeSnapshot(Globals& g, SnapshotKind kind);
void UndoCommand(Globals& g);

void OpenMemoryDots(Globals& g);
// Keeps the incoming settings in the first dot that is not pinned, if any.
void StoreIntoFirstUnpinnedDot(Globals& g);
void StoreIntoDot(Globals& g, int dot);
void DotClick(Globals& g, int dot);
void DotHover(Globals& g, int dot);
void ThumbnailClick(Globals& g);
void ClearCurrentDotMark(Globals& g);
// The memory dot of a control number, or -1.
int DotIndex(int control);

// The ten dot pictures, by state, pinned flag and pressed bit.
enum class DotPicture : std::uint8_t {
  Empty,
  EmptyPressed,
  Pinned,
  PinnedPressed,
  Unpinned,
  UnpinnedPressed,
  PinnedCurrent,
  PinnedCurrentPressed,
  UnpinnedCurrent,
  UnpinnedCurrentPressed,
};
// The picture of dot `dot` as it is now (drawn 2 pixels below its top-left).
DotPicture DotPictureOf(Globals& g, int dot);

// Row r of the blank thumbnail is grey 255 - r.
void ResetToGreyRamp(TiledImage& image);
// Makes the run's 128 x 128 settings thumbnail, blank; false without memory.
bool CreateSettingsThumbnail(Globals& g);
void MakeThumbnail(Globals& g);
void LoadCommand(Globals& g);
void SaveCommand(Globals& g);
void ResetCommand(Globals& g);
void BatchThumbnails(Globals& g);

// The exports reached from the dialog.
void PsdExportCommand(Globals& g);
void PresetPageCommand(Globals& g, bool memoryDots);

}  // namespace stellane
