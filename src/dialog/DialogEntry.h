// What the run driver asks of the dialog at start and during a preview.
#pragma once

#include <cstdint>

#include "host/Globals.h"

namespace stellane {

// Saves the current settings into the next undo slot before the dialog opens.
void TakeUndoSnapshot(Globals& g);

// Runs the main dialog modally. OK leaves the result code 0; Cancel sets
// userCanceledErr.
void RunMainDialog(Globals& g);

// Draws one rendered preview row into the dialog's preview control.
void DisplayPreviewRow(Globals& g, std::int32_t row);

// Asks the host again for the preview area at the given reduction.
void RequestPreviewArea(Globals& g, std::int32_t zoom);

}  // namespace stellane
