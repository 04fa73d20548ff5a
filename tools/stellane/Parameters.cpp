#include "stellane/Parameters.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "glue/GlueNames.h"
#include "host/PluginApi.h"
#include "params/EnumCodes.h"
#include "params/ParamTable.h"
#include "stellane/CliError.h"
#include "stellane/NearestName.h"

namespace cli {

const SettableParam kSettableParams[17] = {
    {"density", "how many stars are born"},
    {"brightness", "how bright the stars are"},
    {"starScale", "the size of the largest stars"},
    {"depth", "the spread of the stars' brightness, near to far"},
    {"color", "star colour: 0 grey, 50 the orange-to-cyan ramp, 100 twice as vivid"},
    {"paramA", "how much of nebula A (A and B both 0: no nebula)"},
    {"paramB", "how much of nebula B"},
    {"opacity", "how strongly the nebulae veil the stars"},
    {"nebulaScale", "the size of the clouds: larger values, larger clouds"},
    {"texture", "the roughness of the clouds' texture"},
    {"contrast", "the clouds' contrast and the strength of their texture"},
    {"fibrousness", "fine fibres in the clouds: 0 smooth, 100 finely stringy"},
    {"randomSeed", "the seed of the clouds' shapes"},
    {"colorA1", "colour chip A1: one end of nebula A's colour drift"},
    {"colorA2", "colour chip A2: the other end of nebula A's colour drift"},
    {"colorB1", "colour chip B1: one end of nebula B's colour drift"},
    {"colorB2", "colour chip B2: the other end of nebula B's colour drift"},
};

namespace {

const stellane::ParamInfo* RowNamed(const std::string& name) {
  return stellane::ParamNamed(name.c_str());
}

// A colour is set by the name its channel rows share: "colorA1" for "colorA1.red".
bool IsColor(const SettableParam& param) {
  return !RowNamed(param.name) && RowNamed(std::string(param.name) + ".red");
}

std::vector<std::string> AcceptedNames() {
  std::vector<std::string> names;
  for (const SettableParam& param : kSettableParams) names.push_back(param.name);
  return names;
}

std::string RangeText(const stellane::ParamInfo& row) {
  return std::to_string(row.minimum) + " to " + std::to_string(row.maximum);
}

std::string Joined(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return list;
}

// A glue name as matched: lower case, without spaces and hyphens, so that
// "Hard-Light" finds "hard light".
std::string GlueKey(const std::string& name) {
  std::string key;
  for (const char c : name)
    if (c != ' ' && c != '-') key += char(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

bool ParseInt32(const std::string& text, std::int32_t& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
  value = std::int32_t(v);
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "#rrggbb" (the '#' optional) into three 8-bit values.
bool ParseColor(const std::string& text, int rgb[3]) {
  const std::size_t start = !text.empty() && text[0] == '#' ? 1 : 0;
  if (text.size() != start + 6) return false;
  for (int i = 0; i < 3; ++i) {
    const int hi = HexDigit(text[start + 2 * i]), lo = HexDigit(text[start + 2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    rgb[i] = hi * 16 + lo;
  }
  return true;
}

}  // namespace

testhost::Descriptor SettingItems(const std::string& assignment) {
  const std::size_t eq = assignment.find('=');
  if (eq == std::string::npos) UsageError("--set expects NAME=VALUE, got \"" + assignment + "\"");
  const std::string name = assignment.substr(0, eq), value = assignment.substr(eq + 1);
  for (const SettableParam& param : kSettableParams) {
    if (name != param.name || !IsColor(param)) continue;
    int rgb[3];
    if (!ParseColor(value, rgb))
      UsageError("--set " + name + ": expected a colour #rrggbb, got \"" + value + "\"");
    static const char* const kChannels[3] = {".red", ".green", ".blue"};
    testhost::Descriptor items;
    for (int i = 0; i < 3; ++i)
      items.push_back(testhost::IntegerItem(RowNamed(name + kChannels[i])->scriptKey, rgb[i]));
    return items;
  }
  for (const SettableParam& param : kSettableParams) {
    if (name != param.name || IsColor(param)) continue;
    std::int32_t v;
    const stellane::ParamInfo& row = *RowNamed(param.name);
    if (!ParseInt32(value, v))
      UsageError("--set " + name + ": expected a whole number from " + RangeText(row) + ", got \"" +
                 value + "\"");
    return {testhost::IntegerItem(row.scriptKey, v)};
  }
  UsageError("--set: unknown parameter \"" + name + "\"" + DidYouMean(name, AcceptedNames()) +
             "; accepted: " + Joined(AcceptedNames()));
}

std::string SettableParamsHelp() {
  std::string text;
  for (const SettableParam& param : kSettableParams) {
    const std::string range = IsColor(param) ? "#rrggbb" : RangeText(*RowNamed(param.name));
    char line[160];
    std::snprintf(line, sizeof line, "  %-12s %-25s %s\n", param.name, range.c_str(),
                  param.meaning);
    text += line;
  }
  return text;
}

std::string OutOfRangeWarning(const std::string& assignment) {
  const testhost::Descriptor items = SettingItems(assignment);
  const std::string name = assignment.substr(0, assignment.find('='));
  const stellane::ParamInfo* row = RowNamed(name);
  if (items.size() != 1 || !row) return "";
  const std::int32_t value = items[0].integer;
  if (value >= row->minimum && value <= row->maximum) return "";
  return "warning: " + assignment + " is outside the slider's range " + RangeText(*row) +
         "; used as given";
}

testhost::DescriptorItem GlueItem(const std::string& glue) {
  std::int32_t mode = 0;
  if (ParseInt32(glue, mode)) {
    if (mode < 1 || mode > stellane::kGlueModeCount)
      UsageError("--glue: mode numbers are 1 to " + std::to_string(stellane::kGlueModeCount) +
                 ", got " + glue);
  } else {
    for (std::int32_t m = 1; m <= stellane::kGlueModeCount; ++m)
      if (GlueKey(glue) == GlueKey(stellane::kGlueModeNames[m - 1])) mode = m;
  }
  if (mode == 0) {
    const std::vector<std::string> names(std::begin(stellane::kGlueModeNames),
                                         std::end(stellane::kGlueModeNames));
    UsageError("--glue: unknown glue mode \"" + glue + "\"" + DidYouMean(glue, names) +
               "; accepted: 1 to " + std::to_string(stellane::kGlueModeCount) + " or " +
               Joined(names));
  }
  return testhost::EnumeratedItem(RowNamed("glue")->scriptKey, stellane::kGlueEnumType,
                                  stellane::EnumIndexToCode(stellane::kGlueEnumType, mode));
}

void PutItems(const testhost::Descriptor& items, testhost::Descriptor& descriptor) {
  for (const testhost::DescriptorItem& item : items) {
    auto same = [&](const testhost::DescriptorItem& d) { return d.key == item.key; };
    const auto found = std::find_if(descriptor.begin(), descriptor.end(), same);
    if (found == descriptor.end())
      descriptor.push_back(item);
    else
      *found = item;
  }
}

void ApplySetting(const std::string& assignment, stellane::RenderParams& params) {
  ApplyDescriptor(SettingItems(assignment), params);
}

void ApplyGlue(const std::string& glue, stellane::RenderParams& params) {
  ApplyDescriptor({GlueItem(glue)}, params);
}

void ApplyDescriptor(const testhost::Descriptor& descriptor, stellane::RenderParams& params) {
  for (const testhost::DescriptorItem& item : descriptor) {
    for (int index = 1; index <= stellane::kScriptedParamCount; ++index) {
      const stellane::ParamInfo& row = *stellane::ScriptedParam(index);
      if (row.scriptKey != item.key) continue;
      if (item.type == ps::typeEnumerated) {
        std::int32_t mode = 0;
        stellane::EnumCodeToIndex(item.enumType, item.enumValue, mode);
        stellane::SetIntParam(params, row, mode);
      } else {
        stellane::SetScriptedParam(params, row, item.integer);
      }
    }
  }
}

}  // namespace cli
