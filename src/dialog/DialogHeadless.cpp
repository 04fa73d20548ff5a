// The main dialog on a system without windows: OK at once, or the test's user.
#include "dialog/DialogEntry.h"
#include "dialog/WindowlessDialog.h"

namespace stellane {

ps::OSErr RunMainDialog(Globals& g) { return RunWindowlessDialog(g); }

}  // namespace stellane
