#include "stellane/ParameterOptions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "params/FilePaths.h"
#include "params/SettingsFile.h"
#include "stellane/CliError.h"
#include "stellane/DescriptorText.h"
#include "stellane/OutputFile.h"
#include "stellane/Parameters.h"
#include "stellane/Presets.h"

namespace cli {

namespace {

// A descriptor file is a few hundred bytes; a megabyte is plenty, and the
// cap keeps a device such as /dev/zero from filling the memory.
constexpr std::size_t kMaxDescriptorBytes = 1 << 20;

std::string ReadDescriptorFile(const std::string& path) {
  std::ifstream in(stellane::PathFromUtf8(path), std::ios::binary);
  if (!in) Fail("cannot open " + path + ": " + std::strerror(errno));
  std::string text(kMaxDescriptorBytes + 1, '\0');
  in.read(text.data(), std::streamsize(text.size()));
  if (in.bad()) Fail("cannot read " + path + SystemReason());
  text.resize(std::size_t(in.gcount()));
  if (text.size() > kMaxDescriptorBytes)
    Fail(path + ": too large for a descriptor file (at most " +
         std::to_string(kMaxDescriptorBytes >> 20) + " MB)");
  return text;
}

}  // namespace

void AddParameterOptions(CLI::App& command, ParameterOptions& options, bool withPlay) {
  CLI::Option* preset = command
                            .add_option("--preset", options.preset,
                                        "start from a shipped preset (see stellane presets)")
                            ->type_name("NAME");
  command
      .add_option("--settings", options.settings,
                  "start from the defaults plus this settings file (.q9r)")
      ->type_name("FILE.q9r")
      ->excludes(preset);
  if (withPlay)
    command.add_option("--play", options.play, "play back a recorded descriptor file")
        ->type_name("FILE");
  command.add_option("--set", options.sets, "set a parameter, NAME=VALUE (repeatable)")
      ->type_name("NAME=VALUE")
      ->expected(1)
      ->take_all()
      ->allow_extra_args(false);
  command.add_option("--glue", options.glues, "glue mode by name or number 1..62")
      ->type_name("MODE")
      ->expected(1)
      ->take_all()
      ->allow_extra_args(false);
  command
      .add_option("--seed", options.seedText,
                  "draw the stars from seed N (0..4294967295): the same stars every time "
                  "(by default from the clock, as in an image editor)")
      ->type_name("N");
}

void FinishParameterOptions(const CLI::App& command, ParameterOptions& options) {
  std::size_t set = 0, glue = 0;
  for (const CLI::Option* option : command.parse_order()) {
    if (option->get_name() == "--set") options.steps.push_back({false, options.sets.at(set++)});
    if (option->get_name() == "--glue") options.steps.push_back({true, options.glues.at(glue++)});
  }
  if (!options.seedText.empty()) options.seed = ParseSeed(options.seedText);
  if (!options.preset.empty()) options.settings = PresetPath(options.preset);
  // Each value is checked now, before any file is read.
  for (const ParameterStep& step : options.steps) {
    if (step.isGlue) {
      GlueItem(step.value);
      continue;
    }
    const std::string warning = OutOfRangeWarning(step.value);
    if (!warning.empty()) std::fprintf(stderr, "stellane: %s\n", warning.c_str());
  }
}

stellane::RenderParams BuildParams(const ParameterOptions& options) {
  stellane::RenderParams params{};
  stellane::InitNewRenderParams(params);
  if (!options.settings.empty()) {
    const stellane::SettingsReadResult read = stellane::ReadSettingsFile(
        options.settings.c_str(), stellane::SettingsReadMode::Values, params, nullptr);
    if (read.status != 0) Fail("cannot open " + options.settings + ": " + std::strerror(errno));
    if (read.version == 0) Fail(options.settings + ": not a Stellane settings file");
  }
  if (!options.play.empty())
    ApplyDescriptor(ParseDescriptorText(ReadDescriptorFile(options.play), options.play), params);
  for (const ParameterStep& step : options.steps) {
    if (step.isGlue)
      ApplyGlue(step.value, params);
    else
      ApplySetting(step.value, params);
  }
  return params;
}

testhost::Descriptor UserScript(const ParameterOptions& options) {
  testhost::Descriptor script;
  if (!options.play.empty())
    script = ParseDescriptorText(ReadDescriptorFile(options.play), options.play);
  for (const ParameterStep& step : options.steps)
    PutItems(step.isGlue ? testhost::Descriptor{GlueItem(step.value)} : SettingItems(step.value),
             script);
  return script;
}

std::uint32_t ParseSeed(const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(text.c_str(), &end, 10);
  if (text.empty() || text[0] == '-' || end == text.c_str() || *end != '\0' || errno != 0 ||
      v > 0xFFFFFFFFull)
    UsageError("--seed expects a whole number from 0 to 4294967295, got \"" + text + "\"");
  return std::uint32_t(v);
}

}  // namespace cli
