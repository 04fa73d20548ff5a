// The dialog's side of the run's FrontEnd.
#include "dialog/DialogEntry.h"

namespace stellane {

const FrontEnd& TheFrontEnd() {
  static constexpr FrontEnd kFrontEnd = DialogFrontEnd(RunMainDialog);
  return kFrontEnd;
}

}  // namespace stellane
