// Playing back and recording the 26 scripted parameters: whole runs through
// PluginMain against the test host's descriptor suite.
#include <gtest/gtest.h>

#include <cstring>

#include "../unit/ScratchTempFolder.h"
#include "host/PluginEntry.h"
#include "params/EnumCodes.h"
#include "params/ParamTable.h"
#include "params/RenderParams.h"
#include "testhost/TestHost.h"

namespace stellane {
namespace {

using ps::FourCC;
using testhost::EnumeratedItem;
using testhost::FindItem;
using testhost::IntegerItem;

// A four-character code from text known only at run time.
std::uint32_t Code(const char* text) {
  std::uint32_t code = 0;
  for (int i = 0; i < 4; ++i) code = (code << 8) | std::uint8_t(text[i]);
  return code;
}

class ScriptingRun : public ::testing::Test {
 protected:
  explicit ScriptingRun(testhost::HostConfig config = {}) : host_(PluginMainImpl, config) {
    host_.SetImage(testhost::Image::Make(5, 3, 3, 8));
  }
  testhost::RunReport Play(const testhost::Descriptor& script, std::int16_t playInfo,
                           bool withParameters = false) {
    host_.Config().descriptorToPlay = script;
    host_.Config().playInfo = playInfo;
    return Run(withParameters);
  }
  testhost::RunReport Run(bool withParameters = false) {
    testhost::RunReport report = host_.RunFilter({withParameters});
    EXPECT_TRUE(host_.Log().protocolErrors.empty())
        << (host_.Log().protocolErrors.empty() ? "" : host_.Log().protocolErrors.front());
    return report;
  }
  const RenderParams& Params() const { return *host_.ParametersAs<RenderParams>(); }
  testhost::Descriptor Recorded() const {
    return host_.RecordedDescriptor().value_or(testhost::Descriptor{});
  }
  std::int32_t RecordedInteger(const char* key) const {
    const auto item = FindItem(Recorded(), Code(key));
    EXPECT_TRUE(item.has_value()) << key;
    return item ? item->integer : -999;
  }
  bool DialogShown() const { return scratch_.Has("Stellane cached settings C"); }

  ScratchTempFolder scratch_;
  testhost::TestHost host_;
};

TEST_F(ScriptingRun, PlaysBackAndRecordsColoursIntegersAndGlue) {
  const testhost::RunReport run = Play(
      {
          IntegerItem(FourCC("0001"), 255),  // the channel's high byte
          IntegerItem(FourCC("0002"), 256),  // does not fit: the channel gets 0
          IntegerItem(FourCC("0019"), -123456789),
          IntegerItem(FourCC("0012"), 1000),  // stored as read, no clamping
          IntegerItem(FourCC("zzzz"), 5),     // unknown keys are passed over
          EnumeratedItem(FourCC("GLUE"), kGlueEnumType, FourCC("GL62")),
          IntegerItem(FourCC("0026"), 17),
      },
      ps::plugInDialogDontDisplay);
  ASSERT_EQ(run.result, 0);
  EXPECT_FALSE(DialogShown());
  EXPECT_EQ(Params().colorA1.red, 65280);
  EXPECT_EQ(Params().colorA1.green, 0);
  EXPECT_EQ(Params().randomSeed, -123456789);
  EXPECT_EQ(Params().contrast, 1000);
  EXPECT_EQ(Params().glue, 62);
  EXPECT_EQ(Params().colorB1.blue, 17 << 8);

  // The finish records what was played, colours as their high byte again.
  const testhost::Descriptor recorded = Recorded();
  ASSERT_EQ(recorded.size(), 26u);
  const char* keys[] = {"0001", "0002", "0003", "0004", "0005", "0006", "0007", "0008", "0009",
                        "0010", "0011", "0012", "0013", "0014", "0015", "GLUE", "0017", "0018",
                        "0019", "0020", "0021", "0022", "0023", "0024", "0025", "0026"};
  for (int i = 0; i < 26; ++i) EXPECT_EQ(recorded[i].key, Code(keys[i])) << keys[i];
  EXPECT_EQ(RecordedInteger("0001"), 255);
  EXPECT_EQ(RecordedInteger("0002"), 0);
  EXPECT_EQ(RecordedInteger("0003"), 27);  // default 27 x 257, high byte 27
  EXPECT_EQ(RecordedInteger("0012"), 1000);
  EXPECT_EQ(RecordedInteger("0019"), -123456789);
  EXPECT_EQ(RecordedInteger("0026"), 17);
  EXPECT_EQ(recorded[15].type, ps::typeEnumerated);
  EXPECT_EQ(recorded[15].enumType, kGlueEnumType);
  EXPECT_EQ(recorded[15].enumValue, FourCC("GL62"));
  EXPECT_EQ(host_.OutstandingHandles(), 2);  // the globals and the record only
}

TEST_F(ScriptingRun, KeysMissingFromTheScriptTakeTheirDefaults) {
  testhost::Descriptor everything;
  for (int i = 1; i <= kScriptedParamCount; ++i) {
    const ParamInfo& row = *ScriptedParam(i);
    everything.push_back(row.scriptKey == FourCC("GLUE")
                             ? EnumeratedItem(row.scriptKey, kGlueEnumType, FourCC("GL40"))
                             : IntegerItem(row.scriptKey, 3 + i));
  }
  ASSERT_EQ(Play(everything, ps::plugInDialogDontDisplay).result, 0);
  EXPECT_EQ(Params().glue, 40);
  EXPECT_EQ(Params().paramB, 23);

  ASSERT_EQ(Play({IntegerItem(FourCC("0008"), 91)}, ps::plugInDialogDontDisplay).result, 0);
  RenderParams defaults;
  InitNewRenderParams(defaults);
  for (const ParamInfo& row : ParamTable()) {
    if (row.kind == ParamKind::Float)
      EXPECT_EQ(GetFloatParam(Params(), row), GetFloatParam(defaults, row)) << row.name;
    else if (row.scriptKey == FourCC("0008"))
      EXPECT_EQ(GetIntParam(Params(), row), 91);
    else
      EXPECT_EQ(GetIntParam(Params(), row), GetIntParam(defaults, row)) << row.name;
  }
}

TEST_F(ScriptingRun, UnknownGlueCodeGivesZeroAndRecordsNo) {
  ASSERT_EQ(Play({EnumeratedItem(FourCC("GLUE"), kGlueEnumType, FourCC("GL99"))},
                 ps::plugInDialogDontDisplay)
                .result,
            0);
  EXPECT_EQ(Params().glue, 0);
  const auto glue = FindItem(Recorded(), FourCC("GLUE"));
  ASSERT_TRUE(glue.has_value());
  EXPECT_EQ(glue->enumValue, FourCC("<NO>"));

  // "<NO>" played back is again glue 0.
  host_.Config().playBackRecorded = true;
  ASSERT_EQ(Run().result, 0);
  EXPECT_EQ(Params().glue, 0);
}

TEST_F(ScriptingRun, PlayInformationDecidesTheDialog) {
  ASSERT_EQ(Play({IntegerItem(FourCC("0008"), 4)}, ps::plugInDialogSilent, true).result, 0);
  EXPECT_FALSE(DialogShown());  // the script overrides the parameters call
  ASSERT_EQ(Play({IntegerItem(FourCC("0008"), 4)}, ps::plugInDialogDisplay).result, 0);
  EXPECT_TRUE(DialogShown());
  EXPECT_EQ(Params().showDialog, 0);
}

TEST_F(ScriptingRun, ReadsTheScriptOnlyOnce) {
  ASSERT_EQ(Play({IntegerItem(FourCC("0009"), 5)}, ps::plugInDialogDontDisplay).result, 0);
  EXPECT_EQ(Params().brightness, 5);
  // The availability test opens a reader too; both see the script.
  EXPECT_GE(host_.Log().descriptorReadersOpened, 1);
  EXPECT_EQ(host_.Log().keysRead.size(), 1u);
}

class PaintShopProRun : public ScriptingRun, public ::testing::WithParamInterface<const char*> {
 protected:
  PaintShopProRun() : ScriptingRun(Config()) {}
  static testhost::HostConfig Config() {
    testhost::HostConfig config;
    config.hostSig = Code(GetParam());
    return config;
  }
};

TEST_P(PaintShopProRun, ReadsNothingButRecords) {
  ASSERT_EQ(Play({IntegerItem(FourCC("0008"), 3)}, ps::plugInDialogDontDisplay, true).result, 0);
  EXPECT_EQ(Params().density, 29);
  EXPECT_EQ(host_.Log().keysRead.size(), 0u);
  EXPECT_TRUE(DialogShown());  // the parameters call asked for it
  EXPECT_EQ(Recorded().size(), 26u);
  EXPECT_EQ(RecordedInteger("0008"), 29);
}

INSTANTIATE_TEST_SUITE_P(Signatures, PaintShopProRun, ::testing::Values("8PSP", "9PSP"));

TEST_F(ScriptingRun, FinishReplacesTheDescriptorAndAsksForOptionalDialog) {
  host_.Config().recordInfo = ps::plugInDialogNone;
  host_.Config().descriptorToPlay = testhost::Descriptor{IntegerItem(FourCC("0008"), 1)};
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

class NoDescriptorSuiteRun : public ScriptingRun {
 protected:
  NoDescriptorSuiteRun() : ScriptingRun(Config()) {}
  static testhost::HostConfig Config() {
    testhost::HostConfig config;
    config.offerDescriptorSuite = false;
    return config;
  }
};

TEST_F(NoDescriptorSuiteRun, ReadsTheSettingsCachedByTheLastDialogRun) {
  {
    // A dialog run in a host with scripting leaves its settings behind.
    testhost::TestHost scripted(PluginMainImpl);
    scripted.SetImage(testhost::Image::Make(4, 4, 3, 8));
    scripted.Config().descriptorToPlay =
        testhost::Descriptor{IntegerItem(FourCC("0008"), 91), IntegerItem(FourCC("0017"), 7)};
    scripted.Config().playInfo = ps::plugInDialogDisplay;
    ASSERT_EQ(scripted.RunFilter().result, 0);
  }
  ASSERT_TRUE(DialogShown());
  ASSERT_EQ(Run().result, 0);
  EXPECT_EQ(Params().density, 91);
  EXPECT_EQ(Params().opacity, 7);
  EXPECT_FALSE(host_.RecordedDescriptor().has_value());
}

TEST(ScriptingHosts, NullDescriptorProcsReadAndRecordNothing) {
  ScratchTempFolder scratch;
  testhost::TestHost host(PluginMainImpl, testhost::PspiHostDll());
  host.SetImage(testhost::Image::Make(4, 2, 3, 8));
  ASSERT_EQ(host.RunFilter().result, 0);
  EXPECT_EQ(host.Log().descriptorReadersOpened, 0);
  EXPECT_EQ(host.Log().descriptorWritersOpened, 0);
}

TEST(EnumCodes, GlueAndQualityCodesBothWays) {
  std::int32_t index = -1;
  EXPECT_TRUE(EnumCodeToIndex(kGlueEnumType, FourCC("GL01"), index));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(EnumCodeToIndex(kGlueEnumType, FourCC("GL10"), index));
  EXPECT_EQ(index, 10);
  EXPECT_TRUE(EnumCodeToIndex(kGlueEnumType, FourCC("GL62"), index));
  EXPECT_EQ(index, 62);
  EXPECT_TRUE(EnumCodeToIndex(kQualityEnumType, FourCC("IQr3"), index));
  EXPECT_EQ(index, 3);
  for (const char* bad : {"GL00", "GL63", "GL6:", "<NO>", "IQr1"}) {
    index = -1;
    EXPECT_FALSE(EnumCodeToIndex(kGlueEnumType, Code(bad), index)) << bad;
    EXPECT_EQ(index, 0) << bad;
  }
  EXPECT_FALSE(EnumCodeToIndex(FourCC("XXty"), FourCC("GL01"), index));

  EXPECT_EQ(EnumIndexToCode(kGlueEnumType, 7), FourCC("GL07"));
  EXPECT_EQ(EnumIndexToCode(kGlueEnumType, 60), FourCC("GL60"));
  EXPECT_EQ(EnumIndexToCode(kQualityEnumType, 2), FourCC("IQr2"));
  for (std::int32_t bad : {0, 63, -1, 2147483647})
    EXPECT_EQ(EnumIndexToCode(kGlueEnumType, bad), kNoEnumCode) << bad;
  EXPECT_EQ(EnumIndexToCode(kQualityEnumType, 4), kNoEnumCode);
  EXPECT_EQ(EnumIndexToCode(FourCC("XXty"), 1), kNoEnumCode);
}

}  // namespace
}  // namespace stellane
