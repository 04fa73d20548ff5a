// Parameter sets and the two-step undo: every command that changes the
// parameters stores a snapshot in the other slot, and Undo swaps back.
#include <cstring>

#include "dialog/DialogEntry.h"
#include "dialog/MainDialog.h"
#include "params/ParamTable.h"
#include "params/SettingsFile.h"

namespace stellane {

namespace {

TiledImage* ThumbnailOf(Globals& g) {
  return HasPixels(g.settingsThumbnail) ? &g.settingsThumbnail : nullptr;
}

}  // namespace

void CopyParamSet(RenderParams& to, const RenderParams& from) {
  for (const ParamInfo& row : ParamTable()) {
    if (row.kind == ParamKind::Float)
      SetFloatParam(to, row, GetFloatParam(from, row));
    else
      SetIntParam(to, row, GetIntParam(from, row));
  }
}

void TakeSnapshot(Globals& g, SnapshotKind kind) {
  if (kind == SnapshotKind::None || !g.buffers.renderContext.data) return;
  g.undoSlot ^= 1;
  UndoSlot& slot = Dialog(g).undo[g.undoSlot & 1];
  CopyParamSet(slot.params, *g.params);
  slot.onDisk = 0;
  if (kind == SnapshotKind::WithFile) {
    char path[kPathBytes];
    if (UndoFilePath(g.undoSlot & 1, path)) WriteSettingsFile(path, *g.params, ThumbnailOf(g));
    slot.onDisk = 1;
  }
  slot.valid = 1;
}

void UndoCommand(Globals& g) {
  const std::int32_t other = (g.undoSlot ^ 1) & 1;
  UndoSlot& slot = Dialog(g).undo[other];
  if (slot.valid) {
    CopyParamSet(*g.params, slot.params);
    char path[kPathBytes];
    if (slot.onDisk && UndoFilePath(other, path))
      ReadSettingsFile(path, SettingsReadMode::Values, *g.params, ThumbnailOf(g));
    g.undoSlot = other;
  }
  ParamsToControls(g);
  Session(g).refresh = true;
  Window(g).RepaintControl(ctl::kStatusLine);
}

// A dialog run starts with a fresh undo store, then keeps the settings it
// opens with, so the first Undo returns to them.
void TakeUndoSnapshot(Globals& g) {
  if (!g.buffers.renderContext.data) return;
  DialogRecord& r = Dialog(g);
  r.undo[0].valid = r.undo[1].valid = 0;
  TakeSnapshot(g, SnapshotKind::WithFile);
}

}  // namespace stellane
