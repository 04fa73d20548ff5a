// `stellane info` and `stellane thumbnail`: what a settings file holds.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "glue/GlueNames.h"
#include "params/ParamTable.h"
#include "params/SettingsFile.h"
#include "stellane/CliError.h"
#include "stellane/Commands.h"
#include "stellane/ImageFiles.h"
#include "stellane/OutputFile.h"
#include "stellane/Parameters.h"
#include "stellane/Presets.h"
#include "stellane/SettingsThumbnail.h"

namespace cli {

namespace {

struct SettingsFileRead {
  stellane::RenderParams params{};
  stellane::SettingsReadResult read;
};

SettingsFileRead ReadSettingsValues(const std::string& path) {
  SettingsFileRead file;
  stellane::InitNewRenderParams(file.params);
  file.read = stellane::ReadSettingsFile(path.c_str(), stellane::SettingsReadMode::Values,
                                         file.params, nullptr);
  if (file.read.status != 0) Fail("cannot open " + path + ": " + std::strerror(errno));
  if (file.read.version == 0) Fail(path + ": not a Stellane settings file");
  return file;
}

// A JSON string: quotes, backslashes and control characters escaped.
std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// The value of the row named `name` (colour channels as 16-bit values).
std::int32_t IntNamed(const stellane::RenderParams& params, const std::string& name) {
  for (const stellane::ParamInfo& row : stellane::ParamTable())
    if (row.name == name) return stellane::GetIntParam(params, row);
  return 0;
}

// The parameters the dialog edits, colours as #rrggbb (the high byte of
// each 16-bit channel); with `all`, the spare fields and vectors too.
void PrintInfoText(const std::string& path, const SettingsFileRead& file, bool all) {
  std::printf("file: %s\nversion: %d\n", path.c_str(), int(file.read.version));
  if (file.read.thumbnailPresent)
    std::printf("thumbnail: %d x %d\n", int(file.read.thumbnailWidth),
                int(file.read.thumbnailHeight));
  else
    std::printf("thumbnail: none\n");
  for (const stellane::ParamInfo& row : stellane::ParamTable()) {
    if (row.scriptIndex == 0 && !all) continue;
    if (row.kind == stellane::ParamKind::Float) {
      std::printf("%s: %.2f\n", row.name, double(stellane::GetFloatParam(file.params, row)));
      continue;
    }
    const std::int32_t value = stellane::GetIntParam(file.params, row);
    if (row.kind == stellane::ParamKind::Channel) {
      const std::string name(row.name);
      const std::size_t dot = name.find('.');
      if (name.substr(dot) != ".red") continue;  // printed with its red channel
      const std::string color = name.substr(0, dot);
      std::printf("%s: #%02x%02x%02x\n", color.c_str(), unsigned(value) >> 8,
                  unsigned(IntNamed(file.params, color + ".green")) >> 8,
                  unsigned(IntNamed(file.params, color + ".blue")) >> 8);
      continue;
    }
    const char* glueName =
        std::strcmp(row.name, "glue") == 0 ? stellane::GlueModeName(value) : nullptr;
    if (glueName)
      std::printf("%s: %d (%s)\n", row.name, int(value), glueName);
    else
      std::printf("%s: %d\n", row.name, int(value));
  }
}

// One object: the file, its version, the thumbnail's size or null, and
// every value under its name (the glue mode also by name).
void PrintInfoJson(const std::string& path, const SettingsFileRead& file) {
  std::printf("{\"file\": %s, \"version\": %d, \"thumbnail\": ", JsonString(path).c_str(),
              int(file.read.version));
  if (file.read.thumbnailPresent)
    std::printf("{\"width\": %d, \"height\": %d}", int(file.read.thumbnailWidth),
                int(file.read.thumbnailHeight));
  else
    std::printf("null");
  std::printf(", \"values\": {");
  const char* separator = "";
  for (const stellane::ParamInfo& row : stellane::ParamTable()) {
    std::printf("%s%s: ", separator, JsonString(row.name).c_str());
    separator = ", ";
    if (row.kind == stellane::ParamKind::Float) {
      // A file may hold any bits; JSON has no NaN or infinity.
      const double v = stellane::GetFloatParam(file.params, row);
      if (std::isfinite(v))
        std::printf("%.6g", v);
      else
        std::printf("null");
      continue;
    }
    std::printf("%d", int(stellane::GetIntParam(file.params, row)));
  }
  const char* glueName = stellane::GlueModeName(file.params.glue);
  std::printf("}, \"glueName\": %s}\n", glueName ? JsonString(glueName).c_str() : "null");
}

}  // namespace

CommandRun AddInfoCommand(CLI::App& root) {
  struct Options {
    std::string file;
    bool json = false, all = false, quiet = false;
  };
  auto o = std::make_shared<Options>();
  CLI::App* command = AddCommand(root, "info",
                                 "Prints a settings file's version, every value it holds and "
                                 "whether it has a thumbnail. Values an older version lacks show "
                                 "their defaults.",
                                 o->quiet);
  command->add_option("file", o->file, "FILE.q9r")->required();
  command->add_flag("--json", o->json, "print one JSON object (every value), for scripts");
  command->add_flag("--all", o->all, "also the spare fields that no rendering reads");
  return [o] {
    const SettingsFileRead file = ReadSettingsValues(o->file);
    if (o->json)
      PrintInfoJson(o->file, file);
    else
      PrintInfoText(o->file, file, o->all);
    return kExitOk;
  };
}

CommandRun AddThumbnailCommand(CLI::App& root) {
  struct Options {
    std::string file, output;
    bool quiet = false;
  };
  auto o = std::make_shared<Options>();
  CLI::App* command = AddCommand(root, "thumbnail",
                                 "Extracts the thumbnail stored in a settings file. OUT's format "
                                 "follows its extension (.jpg, .jpeg, .png, .tif, .tiff).",
                                 o->quiet);
  command->add_option("file", o->file, "FILE.q9r")->required();
  command->add_option("output", o->output, "OUT.jpg")->required();
  return [o] {
    ImageFileKind kind;
    if (!ImageFileKindFromName(o->output, kind))
      UsageError(o->output + ": unknown output format (use .jpg, .jpeg, .png, .tif or .tiff)");
    const testhost::Image thumbnail = ReadSettingsThumbnail(o->file);
    WriteThroughTemporary(o->output, [&](const std::string& temporary) {
      WriteImageFile(thumbnail, temporary, kind);
    });
    return kExitOk;
  };
}

CommandRun AddPresetsCommand(CLI::App& root) {
  auto quiet = std::make_shared<bool>(false);
  AddCommand(root, "presets",
             "Lists the shipped presets (the settings files in the folder "
             "\"presets\" beside this program), one name a line, for --preset.",
             *quiet);
  return [quiet] {
    const std::string folder = PresetFolder();
    const std::vector<PresetFile> presets = ListPresets(folder);
    if (presets.empty()) Fail("no presets in " + folder);
    for (const PresetFile& preset : presets) std::printf("%s\n", preset.name.c_str());
    return kExitOk;
  };
}

}  // namespace cli
