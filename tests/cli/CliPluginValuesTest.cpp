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

struct Case {
  const char* name;
  std::vector<std::string> args;  // "@" stands for a settings file of `params`
  void (*params)(stellane::RenderParams&);
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// The editor's values for each command line: stars off, so that the
// pictures repeat.
const Case kCases[] = {
    // #rrggbb is what the dialog's colour chooser stores for it: each
    // channel v << 8. The other colours are the plug-in's defaults, v * 257;
    // sent back as 8-bit script values they became v * 256, one level off in
    // about a third of the pixels.
    {"UnsetValuesAreDefaultsAndHexIsStoredAsTheColourChooserStoresIt",
     {"--set", "density=0", "--set", "colorA1=#ff8040"},
     [](auto& p) {
       p.density = 0;
       p.colorA1 = {0xFF00, 0x8000, 0x4000};
     }},
    // A settings file's 16-bit colours reach the plug-in as they are, also
    // their low bytes.
    {"SettingsFileReachesThePluginUnchanged",
     {"--settings", "@"},
     [](auto& p) {
       p.density = 0;
       p.colorB1 = {0x12F7, 0xA0A0, 0x3377};
       p.glue = 10;
     }},
};

class PluginValues : public ::testing::TestWithParam<Case> {};

// An editor without scripting runs the plug-in with the settings it cached,
// here the case's values in a temporary folder of the test's own.
TEST_P(PluginValues, CommandLineGivesTheEditorsPicture) {
  const std::string folder = ScratchFolder(), in = folder + "in.png", out = folder + "out.png";
  const testhost::Image source = Lopsided(29, 19, 3, 8, false);
  cli::WriteImageFile(source, in, cli::ImageFileKind::Png);
  stellane::RenderParams params;
  stellane::InitNewRenderParams(params);
  GetParam().params(params);
  const std::string file = folder + "look.q9r";
  ASSERT_EQ(stellane::WriteSettingsFile(file.c_str(), params, nullptr), 0);
  std::vector<std::string> args = {"render", in, out, "-q"};
  for (const std::string& arg : GetParam().args) args.push_back(arg == "@" ? file : arg);
  ASSERT_TRUE(Succeeds(args));

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

INSTANTIATE_TEST_SUITE_P(Cli, PluginValues, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace clitest
