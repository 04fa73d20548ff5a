// Settings files with their thumbnails, between the plug-in's settings
// format and the command-line host's pictures.
#pragma once

#include <string>

#include "params/RenderParams.h"
#include "testhost/Image.h"

namespace cli {

// Writes a settings file of `params` whose thumbnail is the middle square of
// `picture`, scaled to 128 x 128. Throws CliError when the file can't be written.
void WriteSettingsWithThumbnail(const std::string& path, const stellane::RenderParams& params,
                                const testhost::Image& picture);

// The thumbnail stored in a settings file as an 8-bit RGB picture of its
// stored size. Throws CliError when the file can't be read, is not a
// settings file or holds no thumbnail.
testhost::Image ReadSettingsThumbnail(const std::string& path);

}  // namespace cli
