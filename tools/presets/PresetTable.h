// The preset library's source table (presets/library.txt): one block per
// preset, a "[Name]" line, a "description = ..." line and one "key = value"
// line per parameter that differs from the plug-in's defaults, with the
// names and values `stellane render --set` and `--glue` take.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace presets {

struct Preset {
  std::string name;  // also the file name: "<name>.q9r"
  std::string description;
  std::vector<std::pair<std::string, std::string>> values;  // key, value in table order
};

// The presets of the table at `path`, in table order. Throws cli::CliError
// naming the file and line of the first malformed, unknown or repeated
// entry (keys and values are checked as --set and --glue check them).
std::vector<Preset> ReadPresetTable(const std::string& path);

// A lower-case file name for the preset's pictures: letters and digits, the
// rest folded into single hyphens ("Milky Way band" -> "milky-way-band").
std::string PictureName(const std::string& presetName);

}  // namespace presets
