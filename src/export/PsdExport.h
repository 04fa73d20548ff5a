// The PSD export: the effect rendered once more at the job size into an
// off-screen image and saved as a layered PSD file. The dialog's "PSD"
// command asks for the path and shows the progress window; this part needs
// neither and leaves the host image alone.
#pragma once

#include <cstdint>

#include "export/ExportRender.h"

namespace stellane {

// Statuses of an export besides 0 and userCanceledErr.
constexpr std::int16_t kExportNotStarted = 199;  // no path, or an export already running
constexpr std::int16_t kExportNoImage = -99;     // the off-screen image could not be had
constexpr std::int16_t kExportFileNotCreated = 99;
constexpr std::int16_t kExportFileNotWritten = 98;
constexpr std::int16_t kExportTooLarge = 97;  // a side above 30000 pixels (or a 4 GB section)

// Exports the current settings to `path`, replacing an existing file. Nothing
// is left on disk unless the whole file was written. The run's request
// state is as before.
std::int16_t ExportPsd(const ExportRun& run, const char* path, const ExportProgress* progress);

}  // namespace stellane
