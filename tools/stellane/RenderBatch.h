// `stellane render IN... --out-dir DIR`: many files, each filtered by a
// worker process of this program (the plug-in keeps process-wide state, so
// one run per process keeps them apart), -j of them at once, under one
// progress display.
#pragma once

#include "stellane/RenderOptions.h"

namespace cli {

// Exit status 0 when every file was written, 1 when any failed (each is
// reported on stderr and the others go on), or the interrupt's.
int RenderBatch(const RenderOptions& options);

}  // namespace cli
