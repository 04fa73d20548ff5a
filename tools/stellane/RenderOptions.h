// The command line of `stellane render`, parsed but not yet acted on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "stellane/Commands.h"
#include "stellane/ImageFiles.h"
#include "testhost/HostConfig.h"

namespace cli {

struct ParameterStep {
  bool isGlue = false;  // --glue VALUE, else --set VALUE
  std::string value;
};

struct RenderOptions {
  std::string input;  // empty with `demo`: the built-in demo picture
  std::string output;
  std::string plugin;  // empty: the module beside the executable
  std::string settings;
  std::string play;
  std::vector<ParameterStep> steps;  // in command-line order
  std::string saveSettings;
  std::string record;
  std::string mask;
  std::optional<testhost::Rect> rect;
  std::optional<std::uint32_t> seed;  // --seed: the same stars every time; else the clock's
  bool demo = false;                  // --demo: the built-in picture, no INPUT
  bool keepAlpha = false;             // protected transparency: the alpha plane stays as it was
  bool dialog = false;
  bool quiet = false;
  PngCompression pngCompression = PngCompression::Fast;  // --smallest-png
};

// A star seed: a whole number 0..4294967295; throws a usage CliError.
std::uint32_t ParseSeed(const std::string& text);

// Throws a usage CliError on anything malformed.
RenderOptions ParseRenderOptions(const Arguments& args);

}  // namespace cli
