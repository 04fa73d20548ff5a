// The few windows the host interface shows on its own: the about box and the
// refusal messages of the start selector. The Windows build draws them from
// the module's dialog resources; elsewhere there is no window system and the
// requests are only recorded (see HostUiHeadless.h).
#pragma once

#include <cstdint>

namespace stellane {

enum class Refusal {
  HostTooOld,    // no advanceState callback: "REFUSAL2"
  CannotFilter,  // e.g. a multichannel image: the generic "REFUSAL1"
};

// Shows the about box over `parentWindow` (0: the desktop), owned by no
// window. Returns at once while an about box is already open.
void ShowAboutBox(std::intptr_t parentWindow);
bool AboutBoxOpen();
void ClearAboutBoxOpen();
// Closes an open about box as its close box would (the main dialog ends
// while the about box it opened waits beside it).
void CloseAboutBox();

void ShowRefusal(Refusal refusal, std::intptr_t parentWindow);

}  // namespace stellane
