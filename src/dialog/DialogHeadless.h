// Without a window system the dialog opens on a window that shows nothing
// and OK is pressed at once. A user of the plug-in in tests takes the place
// of that press: it gets the open dialog and acts on it. (Windows runs the
// same until its dialog view exists.)
#pragma once

#include <functional>

#include "dialog/DialogWindow.h"
#include "host/Globals.h"

namespace stellane {

// While set, every run that shows the dialog opens it on `window` and hands
// it to `act`; OK is pressed afterwards unless `act` ended the dialog.
// Clear with a null window.
void SetHeadlessDialogUser(DialogWindow* window, std::function<void(Globals&)> act);

}  // namespace stellane
