// Draws what a displayPixels call showed into the device context the plug-in
// passed, as a host does on screen. Only the Windows build draws; elsewhere
// there is nothing to draw into.
#pragma once

#include "testhost/HostLog.h"

namespace testhost {

void DrawDisplayCall(const DisplayCall& call);

}  // namespace testhost
