#include "stellane/Presets.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "params/FilePaths.h"
#include "stellane/CliError.h"
#include "stellane/NearestName.h"
#include "stellane/Platform.h"

namespace cli {

namespace {

std::string Lowered(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::string PresetFolder() { return ExecutableFolder() + "presets"; }

std::vector<PresetFile> ListPresets(const std::string& folder) {
  std::vector<PresetFile> presets;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(stellane::PathFromUtf8(folder), error)) {
    const std::filesystem::path& path = entry.path();
    if (Lowered(stellane::Utf8FromPath(path.extension())) != ".q9r" ||
        !entry.is_regular_file(error))
      continue;
    presets.push_back({stellane::Utf8FromPath(path.stem()), stellane::Utf8FromPath(path)});
  }
  std::sort(presets.begin(), presets.end(), [](const PresetFile& a, const PresetFile& b) {
    return Lowered(a.name) < Lowered(b.name);
  });
  return presets;
}

std::string PresetPath(const std::string& name) {
  const std::string folder = PresetFolder();
  const std::vector<PresetFile> presets = ListPresets(folder);
  if (presets.empty()) Fail("--preset: no presets in " + folder);
  std::vector<std::string> names;
  for (const PresetFile& preset : presets) {
    if (Lowered(preset.name) == Lowered(name)) return preset.path;
    names.push_back(preset.name);
  }
  UsageError("--preset: no preset \"" + name + "\"" + DidYouMean(name, names) +
             "; stellane presets lists them");
}

}  // namespace cli
