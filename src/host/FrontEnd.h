// What the run asks of the layers above it: the dialog, before the run and
// while its preview renders. The host
// layer declares it and calls only through it; the layer above fills it in
// (src/dialog/FrontEndTable.cpp), so nothing in src/host includes a header
// of src/dialog or src/export.
#pragma once

#include <cstdint>

#include "host/Globals.h"

namespace stellane {

struct FrontEnd {
  // Before the dialog opens: the current settings into the next undo slot.
  void (*takeUndoSnapshot)(Globals& g);
  // The main dialog, modally: noErr after OK, userCanceledErr after Cancel,
  // memFullErr when its window cannot be made.
  ps::OSErr (*runMainDialog)(Globals& g);
  // The run's settings thumbnail (false: none, settings files go without).
  bool (*createSettingsThumbnail)(Globals& g);
  // A preview row is rendered: draw it.
  void (*displayPreviewRow)(Globals& g, std::int32_t row);
};

const FrontEnd& TheFrontEnd();

}  // namespace stellane
