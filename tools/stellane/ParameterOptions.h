// Where a run's parameters come from, shared by `render` and `psd`: a preset
// or a settings file, a descriptor file, each --set and --glue in
// command-line order, and the star seed.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "params/RenderParams.h"
#include "testhost/Descriptor.h"

namespace cli {

struct ParameterStep {
  bool isGlue = false;  // --glue VALUE, else --set VALUE
  std::string value;
};

struct ParameterOptions {
  std::string settings;  // --settings FILE, or the file of --preset NAME
  std::string play;
  std::vector<ParameterStep> steps;   // in command-line order
  std::optional<std::uint32_t> seed;  // --seed: the same stars every time; else the clock's
  // As parsed, before Finish.
  std::string preset, seedText;
  std::vector<std::string> sets, glues;
};

// Adds --preset, --settings, --set, --glue, --seed and, with `withPlay`,
// --play to `command`.
void AddParameterOptions(CLI::App& command, ParameterOptions& options, bool withPlay);
// After parsing: the steps in order, the seed checked, the preset found.
// Throws a usage CliError.
void FinishParameterOptions(const CLI::App& command, ParameterOptions& options);

// The run's values as the plug-in stores them: its defaults, the settings
// file, the descriptor file, each --set and --glue.
stellane::RenderParams BuildParams(const ParameterOptions& options);
// The script of what the user gave: a descriptor file's items as they are,
// then each --set and --glue replacing the items of its keys. The plug-in
// takes its own defaults for every key the script lacks.
testhost::Descriptor UserScript(const ParameterOptions& options);

// A star seed: a whole number 0..4294967295; throws a usage CliError.
std::uint32_t ParseSeed(const std::string& text);

}  // namespace cli
