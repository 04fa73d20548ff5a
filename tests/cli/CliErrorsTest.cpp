// Every way `stellane` refuses: the exit status, a one-line message on
// stderr, and no output file left behind (an existing one kept as it was).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "CliRun.h"
#include "TestPictures.h"
#include "stellane/ImageFiles.h"

namespace clitest {
namespace {

struct BadRun {
  const char* name;
  const char* args;  // split at spaces; "@" stands for the scratch folder
  int exitCode;
  const char* message;  // part of the stderr line
};

class Errors : public ::testing::TestWithParam<BadRun> {};

TEST_P(Errors, OneLineMessageExitStatusAndNoOutput) {
  const std::string folder = ScratchFolder();
  cli::WriteImageFile(Lopsided(19, 11, 3, 8, false), folder + "in.png", cli::ImageFileKind::Png);
  cli::WriteImageFile(Lopsided(18, 11, 1, 8, false), folder + "small-mask.png",
                      cli::ImageFileKind::Png);
  WriteText(folder + "text.png", "this is no image\n");
  WriteText(folder + "empty.q9r", "");
  WriteText(folder + "bad.txt", "stellane-descriptor 1\n0008 long 0\n0009 long many\n");
  WriteText(folder + "keep.png", "precious");
  WriteText(folder + "huge.txt", "stellane-descriptor 1\n" + std::string(2 << 20, '#'));
  std::filesystem::create_directory(folder + "dir.png");

  std::vector<std::string> args;
  std::istringstream words(GetParam().args);
  for (std::string arg; words >> arg;) args.push_back(arg[0] == '@' ? folder + arg.substr(1) : arg);
  const auto before = FolderEntries(folder);
  const CliResult run = RunStellane(args);
  EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
  EXPECT_EQ(run.err.rfind("stellane: ", 0), 0u) << run.err;
  EXPECT_TRUE(Holds(run.err, GetParam().message));
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(FolderEntries(folder), before);
  EXPECT_EQ(ReadText(folder + "keep.png"), "precious");
}

const BadRun kBadRuns[] = {
    {"UnknownCommand", "rendr", 2, "unknown command \"rendr\" (did you mean \"render\"?)"},
    // One name is never the output of a demo render: it is the user's photo.
    {"LoneExistingImage", "render @keep.png", 2, "missing OUTPUT after"},
    {"DemoWithInput", "render --demo @in.png @out.png", 2, "takes no INPUT"},
    {"UnknownOption", "render --demo @out.png --sparkle", 2, "not expected: --sparkle"},
    {"UnknownParameter", "render --demo @out.png --set paranA=3", 2,
     "(did you mean \"paramA\"?); accepted: density"},
    {"NotAWholeNumber", "render --demo @out.png --set density=1.5", 2,
     "whole number from 0 to 100"},
    {"BadColour", "render --demo @out.png --set colorB2=#12345", 2, "#rrggbb"},
    {"BadSeed", "psd @out.psd --seed=-1", 2, "from 0 to 4294967295"},
    {"BatchNoFolder", "render @in.png --out-dir @none", 1, "no such folder"},
    {"BadRect", "render --demo @out.png --rect 1,2,3", 2, "X,Y,W,H"},
    {"UnknownOutputFormat", "render @in.png @out.bmp", 2, "unknown output format"},
    {"MissingInput", "render @none.png @out.png", 1, "cannot open"},
    {"InputNotAnImage", "render @text.png @out.png", 1, "not a PNG, JPEG or TIFF"},
    {"PluginMissing", "render --demo @out.png --plugin @none.so", 1, "cannot load the plug-in"},
    {"RenderBatchNoImages", "render @dir.png --out-dir @", 1, "no PNG, JPEG or TIFF"},
    {"MaskOtherSize", "render @in.png @out.png --mask @small-mask.png", 2, "the mask is 18 x 11"},
    {"RectOutside", "render @in.png @out.png --rect 10,0,10,5", 2,
     "outside the 19 x 11 image: X + W may be at most 19, Y + H at most 11"},
    {"PsdSwapped", "psd @in.png @out.psd", 2, "the output comes first"},
    {"UnknownPreset", "render @in.png @out.png --preset nosuch", 2, "stellane presets lists them"},
    {"HtmlEmptyFolder", "html presets @dir.png @p.html", 1, "no settings files"},
    {"SettingsEmpty", "render --demo @out.png --settings @empty.q9r", 1,
     "not a Stellane settings file"},
    {"PlayMalformed", "render --demo @out.png --play @bad.txt", 1, "bad.txt:3:"},
    {"PlayTooLarge", "render --demo @out.png --play @huge.txt", 1, "too large"},
    {"OutputFolderMissing", "render @in.png @no/such/out.png", 1, "cannot write"},
    {"OutputIsAFolder", "render @in.png @dir.png", 1, "it is a folder"},
};

INSTANTIATE_TEST_SUITE_P(Cli, Errors, ::testing::ValuesIn(kBadRuns),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Cancel, InterruptDuringTheRunLeavesNoFile) {
  const std::string folder = ScratchFolder();
  // The program raises its own Ctrl-C at the third abort test of the run.
  SetEnvironment("STELLANE_TEST_INTERRUPT_AT", "3");
  const CliResult fresh = RunStellane({"render", "--demo", folder + "new.png", "--record",
                                       folder + "r.txt", "--save-settings", folder + "s.q9r"});
  SetEnvironment("STELLANE_TEST_INTERRUPT_AT", "");
  EXPECT_EQ(fresh.exitCode, 130) << fresh.err;
  EXPECT_TRUE(Holds(fresh.err, "stellane: cancelled"));
  EXPECT_TRUE(FolderEntries(folder).empty());
}

// One parser for the commands: each takes --help, --quiet and --opt=value
// alike.
TEST(CommandLine, CommandsTakeHelpQuietAndEqualsValues) {
  const std::string folder = ScratchFolder();
  const std::string in = folder + "in.png", q9r = folder + "s.q9r";
  cli::WriteImageFile(Lopsided(9, 7, 3, 8, false), in, cli::ImageFileKind::Png);
  ASSERT_TRUE(Succeeds({"render", in, folder + "o.png", "-q", "--save-settings", q9r}));
  std::filesystem::create_directory(folder + "out");
  const std::vector<std::vector<std::string>> runs = {
      {"render", in, folder + "a.png", "--quiet", "--set=density=0", "--glue=screen"},
      {"render", in, "--out-dir=" + folder + "out", "--quiet", "--jobs=2", "--format=tif"},
      {"psd", folder + "a.psd", "--quiet", "--size=8x6", "--depth=16", "--seed=1"},
      {"info", q9r, "--quiet", "--json"},
  };
  for (const auto& args : runs) {
    EXPECT_TRUE(Succeeds(args));
    EXPECT_TRUE(Succeeds({args[0], "--help"}));
  }
  EXPECT_TRUE(Exists(folder + "out/in.tif"));
  // Without --quiet: a value beyond its slider is used with a warning, and
  // one line says what was written.
  const CliResult loud = RunStellane({"render", in, folder + "b.png", "--set=density=500"});
  EXPECT_EQ(loud.exitCode, 0) << loud.err;
  EXPECT_TRUE(Holds(loud.err, "density=500 is outside the slider's range 0 to 100"));
  EXPECT_EQ(loud.out, "wrote " + folder + "b.png (9 x 7, PNG, 8-bit RGB)\n");
  // The glue modes, one a line, numbered 1 to 62.
  const std::string glues = RunStellane({"glues"}).out;
  EXPECT_EQ(std::count(glues.begin(), glues.end(), '\n'), 62);
  EXPECT_TRUE(Holds(glues, "\n10  screen "));
  EXPECT_TRUE(Holds(glues, "\n62  screendim "));
}

}  // namespace
}  // namespace clitest
