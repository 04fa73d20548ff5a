// The run as the exports see it: the job of the run, the host image's size
// and the document's colour profile through the host's handle suite.
#pragma once

#include "export/ExportRender.h"
#include "host/Globals.h"

namespace stellane {

// A run without a filter record or parameters gives a run without
// parameters, which every export refuses.
ExportRun ExportRunOf(Globals& g);

}  // namespace stellane
