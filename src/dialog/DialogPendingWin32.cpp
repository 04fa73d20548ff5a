// Until the Win32 view of the main dialog is built, Windows runs the dialog
// without a window as well: OK at once.
#include "dialog/DialogEntry.h"
#include "dialog/WindowlessDialog.h"

namespace stellane {

void RunMainDialog(Globals& g) { RunDialogOn(g, nullptr, nullptr); }

}  // namespace stellane
