#include "presets/PresetTable.h"

#include <cctype>
#include <fstream>
#include <set>

#include "params/RenderParams.h"
#include "stellane/CliError.h"
#include "stellane/Parameters.h"

namespace presets {

namespace {

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The name becomes a file name on Windows too.
bool UsableFileName(const std::string& name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  for (unsigned char c : name)
    if (c < 32 || std::string("<>:\"/\\|?*").find(char(c)) != std::string::npos) return false;
  return true;
}

}  // namespace

std::vector<Preset> ReadPresetTable(const std::string& path) {
  std::ifstream in(path);
  if (!in) cli::Fail("cannot open " + path);
  std::vector<Preset> table;
  std::set<std::string> names, keys;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const auto fail = [&](const std::string& why) {
      cli::Fail(path + ":" + std::to_string(number) + ": " + why);
    };
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']') fail("a preset's name line ends in ']'");
      const std::string name = Trim(line.substr(1, line.size() - 2));
      if (!UsableFileName(name)) fail("\"" + name + "\" cannot be a file name");
      if (!names.insert(name).second) fail("a second preset named \"" + name + "\"");
      table.push_back({name, "", {}});
      keys.clear();
      continue;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) fail("expected [Name] or key = value");
    if (table.empty()) fail("a value before the first [Name]");
    const std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    if (!keys.insert(key).second) fail("\"" + key + "\" given twice");
    Preset& preset = table.back();
    if (key == "description") {
      preset.description = value;
      continue;
    }
    // Checked as the command line checks it.
    stellane::RenderParams scratch{};
    try {
      if (key == "glue")
        cli::ApplyGlue(value, scratch);
      else
        cli::ApplySetting(key + "=" + value, scratch);
    } catch (const cli::CliError& error) {
      fail(error.message);
    }
    preset.values.emplace_back(key, value);
  }
  for (const Preset& preset : table)
    if (preset.description.empty())
      cli::Fail(path + ": \"" + preset.name + "\" has no description");
  return table;
}

std::string PictureName(const std::string& presetName) {
  std::string out;
  for (unsigned char c : presetName) {
    if (std::isalnum(c))
      out += char(std::tolower(c));
    else if (!out.empty() && out.back() != '-')
      out += '-';
  }
  while (!out.empty() && out.back() == '-') out.pop_back();
  return out;
}

}  // namespace presets
