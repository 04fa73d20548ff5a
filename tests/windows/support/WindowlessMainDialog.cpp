// The dialogs the core opens in the test program are windowless: tests drive
// the dialog's behaviour through their own window, as they do natively. The
// program's own FrontEnd table says so; the linker then leaves out the
// core's table (src/dialog/FrontEndTable.cpp), so the module has no switch.
#include "dialog/DialogEntry.h"
#include "dialog/WindowlessDialog.h"

namespace stellane {

const FrontEnd& TheFrontEnd() {
  static constexpr FrontEnd kFrontEnd = DialogFrontEnd(RunWindowlessDialog);
  return kFrontEnd;
}

}  // namespace stellane
