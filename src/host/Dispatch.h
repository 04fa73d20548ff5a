// Selector handlers and the parameter record they share. Every handler
// returns the host's result code (ps::ResultCode, or kErrMessageShown after a
// message of our own); PluginMain writes it to the host once, at return.
#pragma once

#include <cstdint>

#include "host/Globals.h"

namespace stellane {

// Makes sure the host's parameters handle holds our record (creating it with
// its defaults) and that `g.params` points at it for this call. memFullErr
// when the handle can't be had.
ps::OSErr EnsureParamRecord(Globals& g);

ps::OSErr ParametersHandler(Globals& g);
// Seeds the star generator from the clock, as editors expect, unless a seed
// was fixed for the process (FixStarSeed).
ps::OSErr PrepareHandler(Globals& g);

// Every later run of this process draws its stars from `seed` instead of the
// clock. Only the command-line host asks for this, through the module's
// second export; an editor never calls it.
void FixStarSeed(std::uint32_t seed);

// The run driver.
ps::OSErr StartHandler(Globals& g);
ps::OSErr ContinueHandler(Globals& g);
ps::OSErr FinishHandler(Globals& g);

}  // namespace stellane
