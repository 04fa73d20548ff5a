// Selector handlers and the parameter record they share.
#pragma once

#include <cstdint>

#include "host/Globals.h"

namespace stellane {

// Makes sure the host's parameters handle holds our record (creating it with
// its defaults) and that `g.params` points at it for this call. Sets the
// result to memFullErr when the handle can't be had.
void EnsureParamRecord(Globals& g);

void ParametersHandler(Globals& g);
// Seeds the star generator from the clock, as editors expect, unless a seed
// was fixed for the process (FixStarSeed).
void PrepareHandler(Globals& g);

// Every later run of this process draws its stars from `seed` instead of the
// clock. Only the command-line host asks for this, through the module's
// second export; an editor never calls it.
void FixStarSeed(std::uint32_t seed);

// The run driver.
void StartHandler(Globals& g);
void ContinueHandler(Globals& g);
void FinishHandler(Globals& g);

}  // namespace stellane
