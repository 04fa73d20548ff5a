// A dialog without a window: it opens on a window that shows nothing, and OK
// is pressed at once. This is what a start that wants the dialog does where
// no window system is at hand.
#include "dialog/WindowlessDialog.h"

#include "dialog/DialogHeadless.h"
#include "dialog/ExportRunOf.h"
#include "dialog/MainDialog.h"
#include "export/PsdExport.h"

namespace stellane {

namespace {

// Process-wide: set by tests and benchmarks before a run that has no other
// way to reach the dialog it opens; nothing in a host run sets it.
DialogWindow* userWindow = nullptr;
std::function<void(Globals&)> userAct;

}  // namespace

std::int16_t NoWindow::RunPsdExport(Globals& g, const char* path) {
  return ExportPsd(ExportRunOf(g), path, nullptr);
}

void SetHeadlessDialogUser(DialogWindow* window, std::function<void(Globals&)> act) {
  userWindow = window;
  userAct = window ? std::move(act) : nullptr;
}

ps::OSErr RunWindowlessDialog(Globals& g) { return RunDialogOn(g, userWindow, userAct); }

ps::OSErr RunDialogOn(Globals& g, DialogWindow* window, const std::function<void(Globals&)>& act) {
  NoWindow none;
  DialogSession session;
  OpenMainDialog(g, session, window ? *window : none);
  if (window && act) act(g);
  if (!session.ended) DialogCommand(g, ctl::kOk, kNotifyClick);
  CloseMainDialog(g);
  return session.status;
}

}  // namespace stellane
