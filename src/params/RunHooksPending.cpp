// Until the scripting descriptor and the settings files are built, a run
// neither reads nor records parameters and keeps no files between runs.
#include "params/RunHooks.h"

namespace stellane {

bool DescriptorReadable(Globals&) { return false; }
void ReadScriptingDescriptor(Globals&) {}
void WriteScriptingDescriptor(Globals&) {}
int ReadCachedSettings(Globals&) { return 99; }
int WriteCachedSettings(Globals&) { return 0; }
int ReadDotDirectory(Globals&) { return 99; }
int WriteDotDirectory(Globals&) { return 0; }

}  // namespace stellane
