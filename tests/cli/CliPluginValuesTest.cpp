// What `stellane render` hands the plug-in: only the values the user gave,
// so that its picture is the one an image editor gets from the plug-in with
// the same values. Stars come from the clock; the runs here have none.
#include <gtest/gtest.h>

#include <memory>

#include "../unit/ScratchTempFolder.h"
#include "CliRun.h"
#include "TestPictures.h"
#include "params/SettingsFile.h"
#include "params/TempFolder.h"
#include "stellane/ImageFiles.h"
#include "testhost/TestHost.h"

namespace clitest {
namespace {

class PluginValues : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ScratchFolder();
    input_ = folder_ + "in.png";
    source_ = Lopsided(29, 19, 3, 8, false);
    cli::WriteImageFile(source_, input_, cli::ImageFileKind::Png);
    module_ = testhost::PluginModule::Load(STELLANE_PLUGIN_NAME, &loadError_);
    ASSERT_NE(module_, nullptr) << loadError_;
  }

  testhost::Image Stellane(std::vector<std::string> args) {
    const std::string out = folder_ + "out.png";
    args.insert(args.begin(), {"render", input_, out, "-q"});
    const ::testing::AssertionResult ran = Succeeds(args);
    EXPECT_TRUE(ran);
    return ran ? cli::ReadImageFile(out) : testhost::Image{};
  }

  // An editor playing an action that holds `script`.
  testhost::Image EditorWithScript(const testhost::Descriptor& script) {
    testhost::HostConfig config = testhost::PhotoshopHost();
    config.descriptorToPlay = script;
    return EditorRun(config);
  }

  // An editor without scripting: the plug-in runs with the settings it
  // cached, here `params`, in a temporary folder of the test's own.
  testhost::Image EditorWithCachedSettings(const stellane::RenderParams& params) {
    const stellane::ScratchTempFolder temp;
    EXPECT_EQ(stellane::WriteSettingsFile(temp.In(stellane::kCachedSettingsName).c_str(), params,
                                          nullptr),
              0);
    testhost::HostConfig config = testhost::PhotoshopHost();
    config.offerDescriptorSuite = false;
    return EditorRun(config);
  }

  testhost::Image EditorRun(const testhost::HostConfig& config) {
    testhost::TestHost host(module_->Entry(), config);
    host.SetImage(source_);
    EXPECT_EQ(host.RunFilter().result, 0);
    return host.GetImage();
  }

  std::string folder_, input_;
  testhost::Image source_;
  std::unique_ptr<testhost::PluginModule> module_;
  std::string loadError_;
};

// The plug-in's default colours are v * 257; sent back as 8-bit script
// values they became v * 256, one level off in about a third of the pixels.
TEST_F(PluginValues, UnsetValuesAreThePluginsOwnDefaults) {
  const testhost::Image cli = Stellane({"--set", "density=0"});
  const testhost::Image editor = EditorWithScript({testhost::IntegerItem(ps::FourCC("0008"), 0)});
  EXPECT_EQ(DifferingPixels(cli, editor), 0);
}

// #rrggbb is what the dialog's colour chooser stores for it: each channel
// v << 8, which a script's 8-bit v also becomes.
TEST_F(PluginValues, HexColourIsStoredAsTheColourChooserStoresIt) {
  const testhost::Image cli = Stellane({"--set", "density=0", "--set", "colorA1=#ff8040"});
  stellane::RenderParams params;
  stellane::InitNewRenderParams(params);
  params.density = 0;
  params.colorA1 = {0xFF00, 0x8000, 0x4000};
  EXPECT_EQ(DifferingPixels(cli, EditorWithCachedSettings(params)), 0);
}

// A settings file's 16-bit colours reach the plug-in as they are, also
// their low bytes.
TEST_F(PluginValues, SettingsFileReachesThePluginUnchanged) {
  stellane::RenderParams params;
  stellane::InitNewRenderParams(params);
  params.density = 0;
  params.colorB1 = {0x12F7, 0xA0A0, 0x3377};
  params.glue = 10;
  const std::string file = folder_ + "look.q9r";
  ASSERT_EQ(stellane::WriteSettingsFile(file.c_str(), params, nullptr), 0);
  const testhost::Image cli = Stellane({"--settings", file});
  EXPECT_EQ(DifferingPixels(cli, EditorWithCachedSettings(params)), 0);
}

}  // namespace
}  // namespace clitest
