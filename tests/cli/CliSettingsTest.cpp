// Settings files through the command line: --save-settings, --settings,
// `stellane info` and `stellane thumbnail`.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "TestPictures.h"
#include "stellane/ImageFiles.h"

namespace clitest {
namespace {

TEST(Settings, SavedFileRoundTripsThroughSettingsInfoAndThumbnail) {
  const std::string folder = ScratchFolder();
  const std::string in = folder + "in.png", saved = folder + "saved.q9r";
  cli::WriteImageFile(Lopsided(33, 21, 3, 8, false), in, cli::ImageFileKind::Png);

  CliResult run =
      RunStellane({"render", in, folder + "a.png", "-q", "--set", "density=0", "--set", "paramB=7",
                   "--set", "randomSeed=-5", "--glue", "limbic", "--set", "colorA2=#0a0b0c",
                   "--record", folder + "a.txt", "--save-settings", saved});
  ASSERT_EQ(run.exitCode, 0) << run.err;

  // The file alone reproduces the run's parameters.
  run = RunStellane(
      {"render", in, folder + "b.png", "-q", "--settings", saved, "--record", folder + "b.txt"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadText(folder + "b.txt"), ReadText(folder + "a.txt"));
  EXPECT_EQ(
      DifferingPixels(cli::ReadImageFile(folder + "a.png"), cli::ReadImageFile(folder + "b.png")),
      0);

  // A --set after --settings wins.
  run = RunStellane({"render", in, folder + "c.png", "-q", "--settings", saved, "--set", "paramB=8",
                     "--record", folder + "c.txt"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(ReadText(folder + "c.txt").find("0020 long 8\n"), std::string::npos);

  run = RunStellane({"info", saved});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (const char* line : {"version: 50\n", "thumbnail: 128 x 128\n", "paramB: 7\n",
                           "randomSeed: -5\n", "density: 0\n", "glue: 57 (limbic)\n",
                           "colorA2.red: 2570\n", "colorA2.blue: 3084\n", "texture: 57\n"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;

  run = RunStellane({"thumbnail", saved, folder + "thumb.jpg"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const testhost::Image thumb = cli::ReadImageFile(folder + "thumb.jpg");
  EXPECT_EQ(thumb.width, 128);
  EXPECT_EQ(thumb.height, 128);
  EXPECT_EQ(thumb.colorPlanes, 3);
}

TEST(Settings, FileWithoutThumbnailIsReportedAsSuch) {
  const std::string folder = ScratchFolder();
  CliResult run = RunStellane(
      {"render", "--demo", folder + "x.png", "-q", "--save-settings", folder + "full.q9r"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // The same values with the thumbnail block replaced by its "none" item 0.
  std::string bytes = ReadText(folder + "full.q9r");
  ASSERT_GT(bytes.size(), 69u * 4);
  bytes = bytes.substr(0, 69 * 4) + std::string(4, '\0');
  WriteText(folder + "bare.q9r", bytes);

  run = RunStellane({"info", folder + "bare.q9r"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("thumbnail: none\n"), std::string::npos) << run.out;

  run = RunStellane({"thumbnail", folder + "bare.q9r", folder + "t.jpg"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("holds no thumbnail"), std::string::npos) << run.err;
  EXPECT_FALSE(Exists(folder + "t.jpg"));
}

}  // namespace
}  // namespace clitest
