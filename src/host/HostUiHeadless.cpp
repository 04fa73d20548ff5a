#include "host/HostUiHeadless.h"

#include "host/HostUi.h"

namespace stellane {

namespace {
// Process-wide, as the Windows about box: the about selector carries no
// instance record.
HeadlessUiLog uiLog;
bool aboutOpen = false;
}  // namespace

HeadlessUiLog& HeadlessUi() { return uiLog; }

void ShowAboutBox(std::intptr_t) {
  if (aboutOpen) return;
  ++uiLog.aboutBoxes;
}

bool AboutBoxOpen() { return aboutOpen; }
void ClearAboutBoxOpen() { aboutOpen = false; }
void CloseAboutBox() {}

void ShowRefusal(Refusal refusal, std::intptr_t) {
  if (refusal == Refusal::HostTooOld)
    ++uiLog.hostTooOldRefusals;
  else
    ++uiLog.cannotFilterRefusals;
}

}  // namespace stellane
