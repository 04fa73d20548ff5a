// Runs the main dialog without a window system.
#pragma once

#include <functional>

#include "dialog/DialogWindow.h"
#include "host/Globals.h"

namespace stellane {

// Opens the dialog on `window` (a window that shows nothing when null), lets
// `act` use it, then presses OK unless the dialog has ended.
void RunDialogOn(Globals& g, DialogWindow* window, const std::function<void(Globals&)>& act);

// The dialog on the window and user set by SetHeadlessDialogUser, or on no
// window with OK at once.
void RunWindowlessDialog(Globals& g);

// Makes RunMainDialog run the windowless dialog from now on. Windows only:
// the test program calls it before its first test, so that tests drive the
// dialog's behaviour through their own window (natively it always does).
void UseWindowlessMainDialog();

}  // namespace stellane
