// Selector handlers and the parameter record they share.
#pragma once

#include "host/Globals.h"

namespace stellane {

// Makes sure the host's parameters handle holds our record (creating it with
// its defaults) and that `g.params` points at it for this call. Sets the
// result to memFullErr when the handle can't be had.
void EnsureParamRecord(Globals& g);

void ParametersHandler(Globals& g);
void PrepareHandler(Globals& g);

// The run driver.
void StartHandler(Globals& g);
void ContinueHandler(Globals& g);
void FinishHandler(Globals& g);

}  // namespace stellane
