// Opening the main dialog, the command dispatch with its fixed chain of
// handlers, the edit timer, OK and Cancel.
#include <algorithm>
#include <cstring>

#include "dialog/MainDialog.h"
#include "glue/GlueNames.h"
#include "host/RenderJobs.h"
#include "params/SettingsFile.h"
#include "render/CrtRandom.h"

namespace stellane {

namespace {

constexpr std::int32_t kRandomSeedMask = 2047;

// What follows a click command in the undo store. Decided before the
// handlers run: a click on an empty dot fills it, yet stores no snapshot.
SnapshotKind ClickSnapshot(Globals& g, int control) {
  const DialogRecord& r = Dialog(g);
  const int dot = DotIndex(control);
  if (dot >= 0)
    return r.dotStates[dot] != DotState::Empty && !g.ctrlPress ? SnapshotKind::WithFile
                                                               : SnapshotKind::None;
  switch (control) {
    case ctl::kLoad:
      return SnapshotKind::WithFile;
    case ctl::kDotThumbnail:
      return r.shownDot >= 0 ? SnapshotKind::WithFile : SnapshotKind::None;
    case ctl::kChipA1:
    case ctl::kChipA2:
    case ctl::kChipB1:
    case ctl::kChipB2:
    case ctl::kNextGlue:
    case ctl::kDice:
    case ctl::kHex:
    case ctl::kRandomseed:
    case ctl::kReset:
    case ctl::kPsd:
    case ctl::kInfo:
      return SnapshotKind::InMemory;
    default:
      return SnapshotKind::None;
  }
}

void ChooseChipColour(Globals& g, int chip) {
  ps::FilterRecord* fr = g.filterRecord;
  const ControlDesc& d = LookupControl(chip);
  Color16 colour = Dialog(g).colours[chip];
  if (fr->colorServices) {
    ps::Str255 prompt = {};
    const std::size_t length = std::min<std::size_t>(std::strlen(d.text), 255);
    prompt[0] = static_cast<unsigned char>(length);
    std::memcpy(prompt + 1, d.text, length);
    ps::ColorServicesInfo info{};
    info.infoSize = sizeof info;
    info.selector = ps::plugIncolorServicesChooseColor;
    info.sourceSpace = ps::plugIncolorServicesRGBSpace;
    info.resultSpace = ps::plugIncolorServicesRGBSpace;
    info.colorComponents[0] = static_cast<std::int16_t>(colour.red >> 8);
    info.colorComponents[1] = static_cast<std::int16_t>(colour.green >> 8);
    info.colorComponents[2] = static_cast<std::int16_t>(colour.blue >> 8);
    info.selectorParameter.pickerPrompt = &prompt;
    fr->colorServices(&info);  // a cancelled chooser leaves the components as they were
    auto wide = [](std::int16_t c) { return static_cast<std::uint16_t>((c & 0xFF) * 256); };
    colour = {wide(info.colorComponents[0]), wide(info.colorComponents[1]),
              wide(info.colorComponents[2])};
  } else if (!Window(g).ChooseColour(colour)) {
    return;
  }
  Dialog(g).colours[chip] = colour;
  Window(g).RepaintControl(chip);
  Session(g).refresh = true;
}

// The last step of every random command.
void ShowRandomSettings(Globals& g) {
  ParamsToControls(g);
  Session(g).refresh = true;
  std::strcpy(g.params->settingsFileName, "random settings.q9r");
  Window(g).RepaintControl(ctl::kStatusLine);
}

void EndWith(Globals& g, int code) {
  Session(g).ended = true;
  Window(g).EndDialog(code);
}

void Ok(Globals& g) {
  Window(g).StopTimer(kEditTimer);
  ControlsToParams(g);
  Session(g).status = ps::noErr;
  EndWith(g, ctl::kOk);
}

void Cancel(Globals& g) {
  Window(g).StopTimer(kEditTimer);
  CopyParamSet(*g.params, Dialog(g).backup);
  Session(g).status = ps::userCanceledErr;
  EndWith(g, ctl::kCancel);
}

void GlueSelectionChanged(Globals& g, int control) {
  SetControlValue(g, control, Window(g).ListSelection(control) + 1);
  ControlsToParams(g);
  TakeSnapshot(g, SnapshotKind::InMemory);
  Window(g).StopTimer(kEditTimer);
  RefreshPreview(g);
}

void Click(Globals& g, int control) {
  RenderParams& p = *g.params;
  DialogSession& s = Session(g);
  const SnapshotKind snapshot = ClickSnapshot(g, control);
  s.refresh = false;

  if (IsKind(control, ControlKind::ColorChip)) ChooseChipColour(g, control);
  ZoomCommand(g, control);
  UpdateZoomState(g);

  if (control == ctl::kSave) SaveCommand(g);
  if (control == ctl::kLoad) LoadCommand(g);
  if (control == ctl::kPsd) PsdExportCommand(g);
  if (DotIndex(control) >= 0) DotClick(g, DotIndex(control));
  if (control == ctl::kDotThumbnail) ThumbnailClick(g);
  if (control == ctl::kPresetPage) PresetPageCommand(g, false);

  if (control == ctl::kLogo) s.window->ShowAbout();
  if (control == ctl::kInfo) s.window->ShowInfoBox();
  // The About and info boxes have no owner: the main dialog stays usable
  // while they wait for the user, and Cancel may have ended it meanwhile.
  // The rest of this click would write the controls back over what Cancel
  // restored.
  if (s.ended) return;

  if (control == ctl::kUndo) UndoCommand(g);
  if ((control == ctl::kUndo || snapshot != SnapshotKind::None) && DotIndex(control) < 0)
    ClearCurrentDotMark(g);

  if (control == ctl::kNextGlue) {
    p.glue = p.glue >= kGlueModeCount ? std::int32_t(GlueMode::kNormal) : p.glue + 1;
    ParamsToControls(g);
    s.refresh = true;
  }
  if (control == ctl::kDice) {
    DiceParams(p);
    ShowRandomSettings(g);
  }
  if (control == ctl::kHex) {
    RandomColours(p);
    ShowRandomSettings(g);
  }
  if (control == ctl::kRandomseed) {
    p.randomSeed = CrtRand() & kRandomSeedMask;
    ShowRandomSettings(g);
  }
  if (control == ctl::kReset) ResetCommand(g);

  ControlsToParams(g);
  TakeSnapshot(g, snapshot);

  s.window->StopTimer(kEditTimer);
  if (s.refresh) RefreshPreview(g);
  s.refresh = false;

  if (control == ctl::kOk) Ok(g);
  if (control == ctl::kCancel) Cancel(g);
}

}  // namespace

void OpenMainDialog(Globals& g, DialogSession& session, DialogWindow& window) {
  RenderParams& p = *g.params;
  session = DialogSession{};
  session.window = &window;
  session.cursor = DialogCursor::Arrow;
  InitTiledImage(session.dotThumbnail, HostBlocks(g.filterRecord));
  if (!HasPixels(g.settingsThumbnail)) CreateSettingsThumbnail(g);
  CreateTiledImage(session.dotThumbnail, kDotThumbnailSide, kDotThumbnailSide, kFormatPacked8);
  g.dialogSession = &session;

  DialogRecord& r = Dialog(g);
  std::memset(r.enabled, 1, sizeof r.enabled);
  SetTarget(p, RenderTarget::kPreview);
  p.captureControl = -1;
  CopyParamSet(r.backup, p);

  ParamsToControls(g);
  ControlsToParams(g);

  OpenMemoryDots(g);
  if (ImageKindOf(*g.filterRecord) == ImageKind::kFloat) {
    // Float images are rendered without glue.
    r.enabled[ctl::kGlueList] = r.enabled[ctl::kGlueLabel] = r.enabled[ctl::kNextGlue] = 0;
    window.RepaintControl(ctl::kGlueLabel);
  }
  if (p.previewEnabled) {
    SetUpPreview(g);
  } else {
    // No preview: the zoom buttons still show a state of this image.
    ComputeFitFactor(g);
    p.previewZoom = g.previewFitFactor;
  }
  UpdateZoomState(g);
  StoreIntoFirstUnpinnedDot(g);
}

void CloseMainDialog(Globals& g) {
  if (!g.dialogSession) return;
  ReleaseTiledImage(g.dialogSession->dotThumbnail);
  g.dialogSession = nullptr;
}

void DialogCommand(Globals& g, int control, int notifyCode) {
  if (!g.dialogSession || Session(g).ended) return;
  if (IsKind(control, ControlKind::GlueList) && notifyCode == kNotifySelectionChanged) {
    GlueSelectionChanged(g, control);
  } else if (notifyCode == kNotifyTextChanged) {
    if (IsKind(control, ControlKind::SliderEdit)) EditTextChanged(g, control);
  } else if (notifyCode == kNotifyClick) {
    Click(g, control);
  }
}

void DialogTimer(Globals& g, int timer) {
  if (!g.dialogSession || timer != kEditTimer) return;
  ControlsToParams(g);
  TakeSnapshot(g, SnapshotKind::InMemory);
  Window(g).StopTimer(kEditTimer);
  RefreshPreview(g);
}

}  // namespace stellane
