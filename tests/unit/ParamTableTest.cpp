// The parameter table against the facts it encodes: scripting keys and their
// order, the settings items.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "params/ParamTable.h"

namespace stellane {
namespace {

TEST(ParamTable, ScriptingKeysInTerminologyOrder) {
  // Written out by hand so that a renamed or reordered key fails here.
  const char* keys[kScriptedParamCount] = {"0001", "0002", "0003", "0004", "0005", "0006", "0007",
                                           "0008", "0009", "0010", "0011", "0012", "0013", "0014",
                                           "0015", "GLUE", "0017", "0018", "0019", "0020", "0021",
                                           "0022", "0023", "0024", "0025", "0026"};
  const char* fields[kScriptedParamCount] = {
      "colorA1.red",  "colorA1.green", "colorA1.blue", "colorA2.red", "colorA2.green",
      "colorA2.blue", "paramA",        "density",      "brightness",  "nebulaScale",
      "texture",      "contrast",      "starScale",    "fibrousness", "depth",
      "glue",         "opacity",       "color",        "randomSeed",  "paramB",
      "colorB2.red",  "colorB2.green", "colorB2.blue", "colorB1.red", "colorB1.green",
      "colorB1.blue"};
  for (int i = 1; i <= kScriptedParamCount; ++i) {
    const ParamInfo* row = ScriptedParam(i);
    ASSERT_NE(row, nullptr) << i;
    const char* key = keys[i - 1];
    EXPECT_EQ(row->scriptKey, std::uint32_t(key[0] << 24 | key[1] << 16 | key[2] << 8 | key[3]))
        << key;
    EXPECT_STREQ(row->name, fields[i - 1]);
  }
  EXPECT_EQ(ScriptedParam(0), nullptr);
  EXPECT_EQ(ScriptedParam(27), nullptr);
}

TEST(ParamTable, UniqueFieldsAndSettingsItems) {
  std::set<std::uint32_t> keys;
  std::set<int> items;
  std::set<std::size_t> offsets;
  for (const ParamInfo& row : ParamTable()) {
    EXPECT_TRUE(offsets.insert(row.offset).second) << row.name;
    EXPECT_TRUE(items.insert(row.settingsItem).second) << row.name;
    EXPECT_TRUE(row.scriptKey == 0 || keys.insert(row.scriptKey).second) << row.name;
    EXPECT_LE(row.minimum, row.maximum) << row.name;
  }
  EXPECT_EQ(keys.size(), std::size_t(kScriptedParamCount));
  // Items 2..69 but the repeated spareColor2 (34-36), the markers (44, 58)
  // and the old-style thumbnail flag (66).
  EXPECT_EQ(items.size(), 62u);
  EXPECT_EQ(*items.begin(), 2);
  EXPECT_EQ(*items.rbegin(), 69);
  for (int constant : {34, 35, 36, 44, 58, 66}) EXPECT_EQ(items.count(constant), 0u) << constant;
}

}  // namespace
}  // namespace stellane
