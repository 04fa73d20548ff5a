// What the run driver asks of the dialog at start and during a preview.
#pragma once

#include <cstdint>

#include "dialog/MainDialog.h"
#include "host/FrontEnd.h"
#include "host/Globals.h"

namespace stellane {

// Saves the current settings into the next undo slot before the dialog opens.
void TakeUndoSnapshot(Globals& g);

// Runs the main dialog modally: noErr after OK, userCanceledErr after
// Cancel, memFullErr when its window cannot be made.
ps::OSErr RunMainDialog(Globals& g);

// Draws one rendered preview row into the dialog's preview control.
void DisplayPreviewRow(Globals& g, std::int32_t row);

// The run's FrontEnd over these entries, with `runMainDialog` running the
// main dialog (the Windows test program's runs it without a window).
constexpr FrontEnd DialogFrontEnd(ps::OSErr (*runMainDialog)(Globals& g)) {
  return {.takeUndoSnapshot = TakeUndoSnapshot,
          .runMainDialog = runMainDialog,
          .createSettingsThumbnail = CreateSettingsThumbnail,
          .displayPreviewRow = DisplayPreviewRow};
}

}  // namespace stellane
