// Playing back and recording the 26 scripted parameters, and the cached
// settings: whole runs through PluginMain against the test host.
#include <gtest/gtest.h>

#include "../unit/ScratchTempFolder.h"
#include "host/PluginEntry.h"
#include "params/EnumCodes.h"
#include "params/ParamTable.h"
#include "params/SettingsFile.h"
#include "params/TempFolder.h"
#include "testhost/TestHost.h"

namespace stellane {
namespace {

using ps::FourCC;
using testhost::EnumeratedItem;
using testhost::IntegerItem;

std::uint32_t Code(const char* text) {
  return std::uint32_t(text[0] << 24 | text[1] << 16 | text[2] << 8 | text[3]);
}

class ScriptingRun : public ::testing::Test {
 protected:
  ScriptingRun() : host_(PluginMainImpl, {}) { host_.SetImage(testhost::Image::Make(5, 3, 3, 8)); }
  // Runs the filter with `script`. A run that opens the dialog ends with OK:
  // the test program's dialog is windowless (natively, and under Wine by
  // its own FrontEnd table), and a windowless dialog presses OK at once.
  void Play(const testhost::Descriptor& script, std::int16_t playInfo, bool parameters = false) {
    host_.Config().descriptorToPlay = script;
    host_.Config().playInfo = playInfo;
    ASSERT_EQ(host_.RunFilter({parameters}).result, 0);
    ASSERT_TRUE(host_.Log().protocolErrors.empty()) << host_.Log().protocolErrors.front();
  }
  const RenderParams& Params() const { return *host_.ParametersAs<RenderParams>(); }
  testhost::Descriptor Recorded() const {
    return host_.RecordedDescriptor().value_or(testhost::Descriptor{});
  }
  std::int32_t Recorded(const char* key) const {
    return testhost::FindItem(Recorded(), Code(key)).value_or(IntegerItem(0, -999)).integer;
  }
  // A dialog closed with OK leaves its settings behind.
  bool DialogShown() const { return scratch_.Has("Stellane cached settings C"); }

  ScratchTempFolder scratch_;
  testhost::TestHost host_;
};

TEST_F(ScriptingRun, PlaysBackAndRecordsColoursIntegersAndGlueUnknownGlueAsNo) {
  Play({IntegerItem(Code("0001"), 255),  // the channel's high byte
        IntegerItem(Code("0002"), 256),  // does not fit: the channel gets 0
        IntegerItem(Code("0012"), 1000), IntegerItem(Code("0019"), -123456789),
        IntegerItem(Code("zzzz"), 5),  // unknown keys are passed over
        EnumeratedItem(Code("GLUE"), kGlueEnumType, Code("GL62")), IntegerItem(Code("0026"), 17)},
       ps::plugInDialogDontDisplay);
  EXPECT_FALSE(DialogShown());
  const RenderParams& p = Params();  // contrast stored as read
  EXPECT_EQ(std::vector<int>(
                {p.colorA1.red, p.colorA1.green, p.contrast, p.randomSeed, p.glue, p.colorB1.blue}),
            std::vector<int>({65280, 0, 1000, -123456789, 62, 17 << 8}));

  const testhost::Descriptor recorded = Recorded();
  ASSERT_EQ(recorded.size(), 26u);
  for (int i = 1; i <= kScriptedParamCount; ++i)
    EXPECT_EQ(recorded[i - 1].key, ScriptedParam(i)->scriptKey) << i;
  // 0003: the default 27 x 257.
  EXPECT_EQ(
      std::vector<int>({Recorded("0001"), Recorded("0002"), Recorded("0003"), Recorded("0019")}),
      std::vector<int>({255, 0, 27, -123456789}));
  EXPECT_EQ(std::vector<std::uint32_t>(
                {recorded[15].type, recorded[15].enumType, recorded[15].enumValue}),
            std::vector<std::uint32_t>({ps::typeEnumerated, kGlueEnumType, Code("GL62")}));
  EXPECT_EQ(host_.OutstandingHandles(), 2);  // the globals and the record only
  EXPECT_TRUE(scratch_.Has("Stellane directory 2"));

  // An unknown glue code gives 0, which records as "<NO>" and plays back as 0.
  Play({EnumeratedItem(Code("GLUE"), kGlueEnumType, Code("GL99"))}, ps::plugInDialogDontDisplay);
  EXPECT_EQ(Recorded()[15].enumValue, Code("<NO>"));
  Play(Recorded(), ps::plugInDialogDontDisplay);
  EXPECT_EQ(Params().glue, 0);
}

TEST_F(ScriptingRun, KeysMissingFromTheScriptTakeTheirDefaults) {
  testhost::Descriptor everything;
  for (int i = 1; i <= kScriptedParamCount; ++i)
    everything.push_back(i == 16 ? EnumeratedItem(Code("GLUE"), kGlueEnumType, Code("GL40"))
                                 : IntegerItem(ScriptedParam(i)->scriptKey, 3 + i));
  Play(everything, ps::plugInDialogDontDisplay);
  EXPECT_EQ(Params().paramB, 23);
  Play({IntegerItem(Code("0008"), 91)}, ps::plugInDialogDontDisplay);
  RenderParams defaults;
  InitNewRenderParams(defaults);
  defaults.density = 91;
  for (const ParamInfo& row : ParamTable())
    EXPECT_EQ(GetIntParam(Params(), row), GetIntParam(defaults, row)) << row.name;
}

TEST_F(ScriptingRun, PlayInformationDecidesTheDialog) {
  Play({IntegerItem(Code("0008"), 4)}, ps::plugInDialogSilent, true);
  EXPECT_FALSE(DialogShown());  // the script overrides the parameters call
  Play({IntegerItem(Code("0008"), 4)}, ps::plugInDialogDisplay);
  EXPECT_TRUE(DialogShown());
  EXPECT_EQ(Params().showDialog, 0);
  // OK: the next run without a script starts from these settings.
  RenderParams cached;
  InitNewRenderParams(cached);
  char path[kPathBytes];
  ASSERT_TRUE(TempFilePath(kCachedSettingsName, path));
  ReadSettingsFile(path, SettingsReadMode::Values, cached, nullptr);
  EXPECT_EQ(cached.density, 4);
}

TEST_F(ScriptingRun, FinishReplacesTheDescriptorAndAsksForOptionalDialog) {
  host_.Config().recordInfo = ps::plugInDialogNone;
  host_.Config().descriptorToPlay = testhost::Descriptor{IntegerItem(Code("0008"), 1)};
  host_.BeginRun();
  ps::PIDescriptorParameters& dp = *host_.Record().descriptorParameters;
  const ps::Handle played = dp.descriptor;
  ASSERT_NE(played, nullptr);
  EXPECT_EQ(host_.Call(ps::filterSelectorFinish), 0);
  EXPECT_FALSE(host_.IsLiveHandle(played));
  EXPECT_NE(dp.descriptor, nullptr);
  EXPECT_EQ(dp.recordInfo, ps::plugInDialogOptional);
  host_.EndRun();
  EXPECT_EQ(Recorded().size(), 26u);
}

// Paint Shop Pro's scripts are not read; the dialog follows the parameters call.
TEST_F(ScriptingRun, PaintShopProReadsNothingButRecords) {
  host_.Config().hostSig = Code("8PSP");
  Play({IntegerItem(Code("0008"), 3)}, ps::plugInDialogDisplay);
  EXPECT_EQ(Params().density, 29);
  EXPECT_TRUE(host_.Log().keysRead.empty());
  EXPECT_FALSE(DialogShown());
  EXPECT_EQ(Recorded("0008"), 29);
  Play({}, ps::plugInDialogDontDisplay, true);
  EXPECT_TRUE(DialogShown());
}

}  // namespace
}  // namespace stellane
