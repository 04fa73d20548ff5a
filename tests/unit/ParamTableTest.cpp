// The parameter table against the facts it encodes: the scripting keys and
// their order, the settings items, the dialog's controls and the defaults.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "host/PluginApi.h"
#include "params/ParamTable.h"
#include "params/RenderParams.h"

namespace stellane {
namespace {

TEST(ParamTable, ScriptingKeysInTerminologyOrder) {
  // Written out by hand so that a renamed or reordered key fails here.
  const struct {
    const char* key;
    const char* field;
  } expected[kScriptedParamCount] = {
      {"0001", "colorA1.red"},   {"0002", "colorA1.green"}, {"0003", "colorA1.blue"},
      {"0004", "colorA2.red"},   {"0005", "colorA2.green"}, {"0006", "colorA2.blue"},
      {"0007", "paramA"},        {"0008", "density"},       {"0009", "brightness"},
      {"0010", "nebulaScale"},   {"0011", "texture"},       {"0012", "contrast"},
      {"0013", "starScale"},     {"0014", "fibrousness"},   {"0015", "depth"},
      {"GLUE", "glue"},          {"0017", "opacity"},       {"0018", "color"},
      {"0019", "randomSeed"},    {"0020", "paramB"},        {"0021", "colorB2.red"},
      {"0022", "colorB2.green"}, {"0023", "colorB2.blue"},  {"0024", "colorB1.red"},
      {"0025", "colorB1.green"}, {"0026", "colorB1.blue"},
  };
  for (int i = 1; i <= kScriptedParamCount; ++i) {
    const ParamInfo* row = ScriptedParam(i);
    ASSERT_NE(row, nullptr) << i;
    char key[5] = {};
    for (int b = 0; b < 4; ++b) key[b] = char(row->scriptKey >> (24 - 8 * b));
    EXPECT_STREQ(key, expected[i - 1].key) << i;
    EXPECT_STREQ(row->name, expected[i - 1].field) << i;
  }
  EXPECT_EQ(ScriptedParam(0), nullptr);
  EXPECT_EQ(ScriptedParam(27), nullptr);
}

TEST(ParamTable, KeysItemsAndFieldsAreUnique) {
  std::set<std::uint32_t> keys;
  std::set<int> items, scriptIndexes;
  std::set<std::size_t> offsets;
  std::set<std::string> names;
  int scripted = 0;
  for (const ParamInfo& row : ParamTable()) {
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    EXPECT_TRUE(offsets.insert(row.offset).second) << row.name;
    EXPECT_TRUE(items.insert(row.settingsItem).second) << row.name;
    EXPECT_GE(row.settingsItem, 2) << row.name;
    EXPECT_LE(row.settingsItem, 69) << row.name;
    if (row.scriptKey != 0) {
      ++scripted;
      EXPECT_TRUE(keys.insert(row.scriptKey).second) << row.name;
      EXPECT_TRUE(scriptIndexes.insert(row.scriptIndex).second) << row.name;
    } else {
      EXPECT_EQ(row.scriptIndex, 0) << row.name;
    }
  }
  EXPECT_EQ(scripted, kScriptedParamCount);
  // Items 2..69 less the repeated spareColor2 (34-36), the markers (44, 58)
  // and the old-style thumbnail flag (66).
  EXPECT_EQ(items.size(), 68u - 6u);
  for (int constant : {34, 35, 36, 44, 58, 66}) EXPECT_EQ(items.count(constant), 0u) << constant;
}

TEST(ParamTable, DialogControlsOfTheSlidersChipsAndGlueList) {
  const struct {
    const char* field;
    int control;
  } expected[] = {
      {"paramA", 37},      {"paramB", 114},     {"nebulaScale", 55},   {"texture", 57},
      {"fibrousness", 63}, {"contrast", 59},    {"opacity", 110},      {"density", 39},
      {"brightness", 51},  {"starScale", 61},   {"depth", 98},         {"color", 65},
      {"colorA1.red", 7},  {"colorA2.blue", 8}, {"colorB1.green", 20}, {"colorB2.red", 19},
      {"glue", 73},
  };
  for (const auto& e : expected) {
    bool found = false;
    for (const ParamInfo& row : ParamTable())
      if (std::strcmp(row.name, e.field) == 0) {
        found = true;
        EXPECT_EQ(row.dialogControl, e.control) << e.field;
      }
    EXPECT_TRUE(found) << e.field;
  }
}

TEST(ParamTable, DefaultsLieInRangeAndAreWhatLoadDefaultsSets) {
  RenderParams p;
  std::memset(&p, 0xA5, sizeof p);
  LoadDefaults(p);
  for (const ParamInfo& row : ParamTable()) {
    EXPECT_LE(row.minimum, row.maximum) << row.name;
    if (std::isnan(row.defaultValue)) continue;  // the defaults leave it alone
    EXPECT_GE(row.defaultValue, row.minimum) << row.name;
    EXPECT_LE(row.defaultValue, row.maximum) << row.name;
    if (row.kind == ParamKind::Float)
      EXPECT_FLOAT_EQ(GetFloatParam(p, row), float(row.defaultValue)) << row.name;
    else
      EXPECT_EQ(GetIntParam(p, row), std::int32_t(row.defaultValue)) << row.name;
  }
}

TEST(ParamTable, FieldAccessReachesTheNamedField) {
  RenderParams p{};
  const ParamInfo* seed = ScriptedParam(19);
  const ParamInfo* blue = ScriptedParam(26);
  SetIntParam(p, *seed, -7);
  SetIntParam(p, *blue, 0x12345);  // a channel keeps its low 16 bits
  EXPECT_EQ(p.randomSeed, -7);
  EXPECT_EQ(p.colorB1.blue, 0x2345);
  EXPECT_EQ(p.colorB1.red, 0);
  EXPECT_EQ(GetIntParam(p, *blue), 0x2345);
}

}  // namespace
}  // namespace stellane
