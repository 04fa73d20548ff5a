// What `stellane render` hands the plug-in: only the values the user gave,
// so that its picture is the one an image editor gets from the plug-in with
// the same values. Stars come from the clock; the runs here have none.
#include <gtest/gtest.h>

#include "../unit/ScratchTempFolder.h"
#include "CliRun.h"
#include "TestPictures.h"
#include "params/SettingsFile.h"
#include "params/TempFolder.h"
#include "stellane/ImageFiles.h"
#include "testhost/TestHost.h"

namespace clitest {
namespace {

// An editor without scripting runs the plug-in with the settings it cached.
// #rrggbb is what the dialog's colour chooser stores for it: each channel
// v << 8. The other colours are the plug-in's defaults, v * 257; sent back
// as 8-bit script values they became v * 256, one level off in about a
// third of the pixels.
TEST(PluginValues, UnsetValuesAreDefaultsAndHexIsStoredAsTheColourChooserStoresIt) {
  const std::string folder = ScratchFolder(), in = folder + "in.png", out = folder + "out.png";
  const testhost::Image source = Lopsided(29, 19, 3, 8, false);
  cli::WriteImageFile(source, in, cli::ImageFileKind::Png);
  ASSERT_TRUE(
      Succeeds({"render", in, out, "-q", "--set", "density=0", "--set", "colorA1=#ff8040"}));

  stellane::RenderParams params;
  stellane::InitNewRenderParams(params);
  params.density = 0;
  params.colorA1 = {0xFF00, 0x8000, 0x4000};
  std::string error;
  const auto module = testhost::PluginModule::Load(STELLANE_PLUGIN_NAME, &error);
  ASSERT_NE(module, nullptr) << error;
  const stellane::ScratchTempFolder temp;
  ASSERT_EQ(
      stellane::WriteSettingsFile(temp.In(stellane::kCachedSettingsName).c_str(), params, nullptr),
      0);
  testhost::HostConfig config = testhost::PhotoshopHost();
  config.offerDescriptorSuite = false;
  testhost::TestHost host(module->Entry(), config);
  host.SetImage(source);
  ASSERT_EQ(host.RunFilter().result, 0);
  EXPECT_EQ(DifferingPixels(cli::ReadImageFile(out), host.GetImage()), 0);
}

}  // namespace
}  // namespace clitest
