// The main dialog on a system without windows: OK at once, or the test's user.
#include "dialog/DialogHeadless.h"

#include "dialog/DialogEntry.h"
#include "dialog/WindowlessDialog.h"

namespace stellane {

namespace {

DialogWindow* userWindow = nullptr;
std::function<void(Globals&)> userAct;

}  // namespace

void SetHeadlessDialogUser(DialogWindow* window, std::function<void(Globals&)> act) {
  userWindow = window;
  userAct = window ? std::move(act) : nullptr;
}

void RunMainDialog(Globals& g) { RunDialogOn(g, userWindow, userAct); }

}  // namespace stellane
