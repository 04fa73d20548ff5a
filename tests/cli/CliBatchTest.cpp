// Many files at once, the preset library and copies of the program, end
// to end.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "CliRun.h"
#include "TestPictures.h"
#include "stellane/ImageFiles.h"

namespace clitest {
namespace {

namespace fs = std::filesystem;
using cli::ImageFileKind;

// A folder of two pictures and a "PNG" that is not one: the batch writes
// the two, names the third, exits 1; run one at a time or two at once,
// with a seed, it writes the same bytes.
TEST(Batch, FolderWithACorruptFileWritesTheOthersTheSameAtAnyJobCount) {
  const std::string folder = ScratchFolder(), in = folder + "in/";
  fs::create_directories(in);
  cli::WriteImageFile(Lopsided(21, 13, 3, 8, false), in + "a.png", ImageFileKind::Png);
  cli::WriteImageFile(Lopsided(17, 11, 1, 16, false), in + "b.tif", ImageFileKind::Tiff);
  WriteText(in + "c.png", "not a picture\n");
  WriteText(in + "notes.txt", "not an image name: passed over\n");

  std::vector<std::string> written;
  for (const char* jobs : {"1", "2"}) {
    const std::string out = folder + "out" + jobs + "/";
    fs::create_directories(out);
    const CliResult run =
        RunStellane({"render", in, "--out-dir", out, "-j", jobs, "--seed", "11", "-q"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("c.png: not a PNG, JPEG or TIFF"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 of 3 files failed"), std::string::npos) << run.err;
    ASSERT_EQ(FolderEntries(out), (std::vector<std::string>{"a.png", "b.tif"}));
    EXPECT_EQ(cli::ReadImageFile(out + "b.tif").depth, 16);
    written.push_back(ReadText(out + "a.png") + ReadText(out + "b.tif"));
  }
  EXPECT_EQ(written[0], written[1]);
}

std::string Lowered(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Every shipped preset is listed and renders; a name in other letter case
// finds it, and it reaches the plug-in as its settings file does.
TEST(Presets, EveryShippedPresetIsListedAndRenders) {
  const std::string folder = ScratchFolder();
  const std::string presets = "presets/";
  std::vector<std::string> names;
  std::error_code none;
  for (const auto& entry : fs::directory_iterator(presets, none))
    if (entry.path().extension() == ".q9r") names.push_back(entry.path().stem().string());
  ASSERT_FALSE(names.empty()) << "no presets in the build's presets folder";
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return Lowered(a) < Lowered(b); });
  std::string listing;
  for (const std::string& name : names) listing += name + "\n";

  const std::string in = folder + "in.png";
  cli::WriteImageFile(Lopsided(12, 8, 3, 8, false), in, ImageFileKind::Png);
  const CliResult listed = RunStellane({"presets"});
  EXPECT_EQ(listed.out, listing) << listed.err;
  for (const std::string& name : names) {
    const CliResult run = RunStellane({"render", in, folder + "p.png", "-q", "--seed=1", "--preset",
                                       Lowered(name), "--record", folder + "p.txt"});
    EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
  }
  const CliResult bySettings =
      RunStellane({"render", in, folder + "s.png", "-q", "--seed=1", "--settings",
                   presets + names.back() + ".q9r", "--record", folder + "s.txt"});
  EXPECT_EQ(bySettings.exitCode, 0) << bySettings.err;
  EXPECT_EQ(ReadText(folder + "p.txt"), ReadText(folder + "s.txt"));
  EXPECT_EQ(ReadText(folder + "p.png"), ReadText(folder + "s.png"));
  const CliResult unknown = RunStellane({"render", in, folder + "x.png", "--preset", "no such"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("stellane presets lists them"), std::string::npos) << unknown.err;
}

// A copy of the program without its module says where the module goes.
TEST(Presets, CopyWithoutItsModuleNamesPlugin) {
  const std::string app = ScratchFolder() + "app/";
  fs::create_directories(app);
  fs::copy_file(STELLANE_CLI_NAME, app + STELLANE_CLI_NAME);
  UseProgramIn(app);
  const CliResult run = RunStellane({"render", "--demo", app + "out.png"});
  UseProgramIn("");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("beside stellane, or name the module with --plugin PATH"),
            std::string::npos)
      << run.err;
}

}  // namespace
}  // namespace clitest
