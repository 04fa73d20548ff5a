// The command line of `stellane render`, parsed but not yet acted on.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

#include "stellane/ImageFiles.h"
#include "stellane/ParameterOptions.h"
#include "testhost/HostConfig.h"

namespace cli {

struct RenderOptions {
  std::vector<std::string>
      files;          // as given: INPUT OUTPUT, OUTPUT with --demo, INPUT... with --out-dir
  std::string input;  // empty with `demo`: the built-in demo picture
  std::string output;
  std::string outDir;  // a batch: every input into this folder
  std::string format;  // a batch: the outputs' extension, else each input's
  int jobs = 1;        // a batch: files filtered at once, each by a worker process
  std::string plugin;  // empty: the module beside the executable
  ParameterOptions parameters;
  std::string saveSettings;
  std::string record;
  std::string mask;
  std::string rectText;
  std::optional<testhost::Rect> rect;
  bool demo = false;  // --demo: the built-in picture, no INPUT
  // Protected transparency: the picture's alpha plane stays as it was (the
  // cut-out kept); --replace-alpha writes the rendered layer's alpha.
  bool keepAlpha = true;
  bool replaceAlpha = false;
  int mixPercent = 100;  // --mix: the filtered result's share, the rest the original
  int jpegQuality = 92;  // --quality
  std::string mixText, qualityText;
  bool dialog = false;
  bool quiet = false;
  bool smallestPng = false;
  PngCompression pngCompression = PngCompression::Fast;
  // A worker process of a batch: this one file, whatever else was given.
  std::string batchInput, batchOutput;
};

// Adds render's options to `command`, to be read into `options`.
void AddRenderOptions(CLI::App& command, RenderOptions& options);
// After parsing: the files sorted out and every value checked. Throws a
// usage CliError on anything malformed.
void FinishRenderOptions(const CLI::App& command, RenderOptions& options);

}  // namespace cli
