// The Windows build shows real dialogs where the native build only counts
// them (host/HostUiHeadless.h). Tests written against those counts run here
// too: this stand-in counts the real dialogs as the watcher sees them.
#include <algorithm>

#include "DialogWatcher.h"
#include "host/HostUiHeadless.h"

namespace stellane {

namespace {

HeadlessUiLog uiLog;

bool Shows(const wintest::SeenDialog& dialog, const char* text) {
  return std::find(dialog.texts.begin(), dialog.texts.end(), text) != dialog.texts.end();
}

void Count(const wintest::SeenDialog& dialog) {
  if (dialog.title == "About")
    ++uiLog.aboutBoxes;
  else if (dialog.title == "Plug-in error")
    ++uiLog.hostTooOldRefusals;
  else if (Shows(dialog, "The filter cannot run."))
    ++uiLog.cannotFilterRefusals;
}

[[maybe_unused]] const bool listening = (wintest::OnDialogSeen(Count), true);

}  // namespace

HeadlessUiLog& HeadlessUi() { return uiLog; }

}  // namespace stellane
