// The built preset library against its source table: every preset of
// presets/library.txt is a settings file in the folder "presets" beside the
// program, and `stellane info --json` reads back the table's values and a thumbnail.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "CliRun.h"

namespace clitest {
namespace {

struct TablePreset {
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;
};

// The table read on its own terms: "[Name]" lines and "key = value" lines.
std::vector<TablePreset> ReadTable() {
  std::ifstream in(STELLANE_PRESET_TABLE);
  std::vector<TablePreset> table;
  const auto trim = [](std::string t) {
    t.erase(0, t.find_first_not_of(" \t\r"));
    t.erase(t.find_last_not_of(" \t\r") + 1);
    return t;
  };
  for (std::string line; std::getline(in, line);) {
    line = trim(line);
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      table.push_back({line.substr(1, line.size() - 2), {}});
    } else if (const std::size_t eq = line.find('='); eq != std::string::npos && !table.empty()) {
      const std::string key = trim(line.substr(0, eq));
      if (key != "description") table.back().values.emplace_back(key, trim(line.substr(eq + 1)));
    }
  }
  return table;
}

// What `stellane info --json` holds for one table entry. A colour #rrggbb is
// stored as the dialog's colour chooser stores it, each channel times 256.
std::vector<std::string> ExpectedMembers(const std::string& key, const std::string& value) {
  if (key == "glue") return {"\"glueName\": \"" + value + "\""};
  if (value[0] != '#') return {"\"" + key + "\": " + value + ","};
  std::vector<std::string> members;
  const char* channels[] = {"red", "green", "blue"};
  for (int c = 0; c < 3; ++c)
    members.push_back(
        "\"" + key + "." + channels[c] +
        "\": " + std::to_string(std::stoi(value.substr(1 + 2 * c, 2), nullptr, 16) * 256) + ",");
  return members;
}

TEST(PresetLibrary, EveryPresetOfTheTableReadsBackWithItsValuesAndThumbnail) {
  const std::vector<TablePreset> table = ReadTable();
  ASSERT_GE(table.size(), 24u) << "the library has at least 24 presets";
  std::vector<std::string> names;
  for (const TablePreset& preset : table) names.push_back(preset.name + ".q9r");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(FolderEntries("presets"), names);

  for (const TablePreset& preset : table) {
    const CliResult info = RunStellane({"info", "--json", "presets/" + preset.name + ".q9r"});
    ASSERT_EQ(info.exitCode, 0) << preset.name << ": " << info.err;
    EXPECT_NE(info.out.find("\"thumbnail\": {\"width\": 128, \"height\": 128}"), std::string::npos)
        << preset.name;
    for (const auto& [key, value] : preset.values)
      for (const std::string& line : ExpectedMembers(key, value))
        EXPECT_NE(info.out.find(line), std::string::npos)
            << preset.name << " lacks \"" << line << "\" in\n"
            << info.out;
  }
}

}  // namespace
}  // namespace clitest
