#include "stellane/Parameters.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
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

const char* const kIntegerParamNames[13] = {
    "paramA",    "paramB",      "density", "brightness", "nebulaScale", "texture",   "contrast",
    "starScale", "fibrousness", "depth",   "opacity",    "color",       "randomSeed"};

const char* const kColorParamNames[4] = {"colorA1", "colorA2", "colorB1", "colorB2"};

namespace {

const stellane::ParamInfo* RowNamed(const char* name) {
  for (const stellane::ParamInfo& row : stellane::ParamTable())
    if (std::strcmp(row.name, name) == 0) return &row;
  return nullptr;
}

std::vector<std::string> AcceptedNames() {
  std::vector<std::string> names(std::begin(kIntegerParamNames), std::end(kIntegerParamNames));
  names.insert(names.end(), std::begin(kColorParamNames), std::end(kColorParamNames));
  return names;
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
  for (const char* colorName : kColorParamNames) {
    if (name != colorName) continue;
    int rgb[3];
    if (!ParseColor(value, rgb))
      UsageError("--set " + name + ": expected a colour #rrggbb, got \"" + value + "\"");
    static const char* const kChannels[3] = {".red", ".green", ".blue"};
    testhost::Descriptor items;
    for (int i = 0; i < 3; ++i)
      items.push_back(
          testhost::IntegerItem(RowNamed((name + kChannels[i]).c_str())->scriptKey, rgb[i]));
    return items;
  }
  for (const char* intName : kIntegerParamNames) {
    if (name != intName) continue;
    std::int32_t v;
    const stellane::ParamInfo& row = *RowNamed(intName);
    if (!ParseInt32(value, v))
      UsageError("--set " + name + ": expected a whole number from " + std::to_string(row.minimum) +
                 " to " + std::to_string(row.maximum) + ", got \"" + value + "\"");
    return {testhost::IntegerItem(RowNamed(intName)->scriptKey, v)};
  }
  UsageError("--set: unknown parameter \"" + name + "\"" + DidYouMean(name, AcceptedNames()) +
             "; accepted: " + Joined(AcceptedNames()));
}

testhost::DescriptorItem GlueItem(const std::string& glue) {
  std::int32_t mode = 0;
  if (ParseInt32(glue, mode)) {
    if (mode < 1 || mode > 62) UsageError("--glue: mode numbers are 1 to 62, got " + glue);
  } else {
    for (std::int32_t m = 1; m <= 62; ++m)
      if (GlueKey(glue) == GlueKey(stellane::kGlueModeNames[m - 1])) mode = m;
  }
  if (mode == 0) {
    const std::vector<std::string> names(std::begin(stellane::kGlueModeNames),
                                         std::end(stellane::kGlueModeNames));
    UsageError("--glue: unknown glue mode \"" + glue + "\"" + DidYouMean(glue, names) +
               "; accepted: 1 to 62 or " + Joined(names));
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
      } else if (row.kind == stellane::ParamKind::Channel) {
        // The plug-in keeps the low 16 bits of the shifted value.
        stellane::SetIntParam(params, row,
                              std::int32_t(std::uint16_t(std::uint32_t(item.integer) << 8)));
      } else {
        stellane::SetIntParam(params, row, item.integer);
      }
    }
  }
}

}  // namespace cli
