// What the run driver asks of the scripting descriptor and the settings files
// at start and at the end of a run.
#pragma once

#include "host/Globals.h"

namespace stellane {

// Whether the host hands us a scripting descriptor we can read: a complete
// descriptor suite, a host that is not "8PSP"/"9PSP", and a reader that opens.
// The test must leave the descriptor for ReadScriptingDescriptor.
bool DescriptorReadable(Globals& g);

// Loads defaults, reads the recorded parameters and sets showDialog from the
// host's play-dialog answer. Returns the host's error from closing the
// reader (a missing parameter is none).
ps::OSErr ReadScriptingDescriptor(Globals& g);

// Records the run's parameters for the host's scripts (finish selector).
void WriteScriptingDescriptor(Globals& g);

// The settings carried from run to run in the temporary folder. A missing
// file is normal and changes nothing.
int ReadCachedSettings(Globals& g);
int WriteCachedSettings(Globals& g);

// The memory-dot directory file, read at start and written at every run's end.
int ReadDotDirectory(Globals& g);
int WriteDotDirectory(Globals& g);

}  // namespace stellane
