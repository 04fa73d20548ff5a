// The dialog's side of the run's FrontEnd.
#include "dialog/DialogEntry.h"
#include "dialog/MainDialog.h"
#include "host/FrontEnd.h"

namespace stellane {

const FrontEnd& TheFrontEnd() {
  static constexpr FrontEnd kFrontEnd = {
      .takeUndoSnapshot = TakeUndoSnapshot,
      .runMainDialog = RunMainDialog,
      .createSettingsThumbnail = CreateSettingsThumbnail,
      .displayPreviewRow = DisplayPreviewRow,
  };
  return kFrontEnd;
}

}  // namespace stellane
