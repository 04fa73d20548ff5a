// The shipped preset library: settings files (".q9r") in the folder
// "presets" beside the executable, each named after its preset.
#pragma once

#include <string>
#include <vector>

namespace cli {

struct PresetFile {
  std::string name;  // the file name without ".q9r"
  std::string path;
};

// The library's folder beside the executable.
std::string PresetFolder();
// Its presets sorted by name; none when the folder is missing.
std::vector<PresetFile> ListPresets(const std::string& folder);
// The file of the preset named `name`, letter case ignored; throws a usage
// CliError naming the nearest preset when there is none of that name.
std::string PresetPath(const std::string& name);

}  // namespace cli
