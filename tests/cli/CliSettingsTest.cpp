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

  std::vector<std::string> args = {"render",          in,       folder + "a.png", "-q",
                                   "--glue",          "limbic", "--record",       folder + "a.txt",
                                   "--save-settings", saved};
  for (const char* value : {"density=0", "paramB=7", "randomSeed=-5", "colorA2=#0a0b0c",
                            "colorA1=#e3dc1b", "colorB1=#102030", "colorB2=#7d7e6a"})
    args.insert(args.end(), {"--set", value});
  ASSERT_TRUE(Succeeds(args));

  // The file alone reproduces the run's parameters.
  ASSERT_TRUE(Succeeds(
      {"render", in, folder + "b.png", "-q", "--settings", saved, "--record", folder + "b.txt"}));
  EXPECT_EQ(ReadText(folder + "b.txt"), ReadText(folder + "a.txt"));
  EXPECT_EQ(
      DifferingPixels(cli::ReadImageFile(folder + "a.png"), cli::ReadImageFile(folder + "b.png")),
      0);

  // The record plays the same run back. A script holds colours with 8 bits:
  // the run sets all four, so that the plug-in's defaults (v * 257) do not
  // take part.
  const std::string record = ReadText(folder + "a.txt");
  for (const char* item :
       {"0008 long 0\n", "GLUE enum GLty GL57\n", "0024 long 16\n0025 long 32\n0026 long 48\n"})
    EXPECT_TRUE(Holds(record, item));
  ASSERT_TRUE(Succeeds({"render", in, folder + "d.png", "-q", "--play", folder + "a.txt",
                        "--record", folder + "d.txt"}));
  EXPECT_EQ(ReadText(folder + "d.txt"), record);
  EXPECT_EQ(
      DifferingPixels(cli::ReadImageFile(folder + "a.png"), cli::ReadImageFile(folder + "d.png")),
      0);

  // A --set after --settings wins.
  ASSERT_TRUE(Succeeds({"render", in, folder + "c.png", "-q", "--settings", saved, "--set",
                        "paramB=8", "--record", folder + "c.txt"}));
  EXPECT_TRUE(Holds(ReadText(folder + "c.txt"), "0020 long 8\n"));

  CliResult run;
  ASSERT_TRUE(Succeeds({"info", saved}, &run));
  for (const char* line :
       {"version: 50\n", "thumbnail: 128 x 128\n", "paramB: 7\n", "randomSeed: -5\n",
        "density: 0\n", "glue: 57 (limbic)\n", "colorA2: #0a0b0c\n", "texture: 57\n"})
    EXPECT_TRUE(Holds(run.out, line));
  // The spare fields, which no rendering reads, only when asked for.
  EXPECT_EQ(run.out.find("spare"), std::string::npos) << run.out;
  EXPECT_TRUE(Holds(RunStellane({"info", "--all", saved}).out, "spareInt1: 32\n"));

  ASSERT_TRUE(Succeeds({"thumbnail", saved, folder + "thumb.jpg"}));
  const testhost::Image thumb = cli::ReadImageFile(folder + "thumb.jpg");
  EXPECT_EQ(thumb.width, 128);
  EXPECT_EQ(thumb.height, 128);
  EXPECT_EQ(thumb.colorPlanes, 3);
}

// Latin, Greek, Cyrillic and Japanese names (UTF-8) for every kind of file.
// (A presets page's captions of such names: HtmlPage's own test.)
TEST(Settings, FileNamesInAnyScript) {
  const std::string folder = ScratchFolder();
  const std::string in = folder + "\xce\xa9mega in.png", out = folder + "caf\xc3\xa9_out.png";
  const std::string saved = folder + "\xd0\xb7\xd0\xb2\xd0\xb5\xd0\xb7\xd0\xb4\xd0\xb0.q9r";
  const std::string record = folder + "\xe6\x97\xa5\xe6\x9c\xac.txt";
  cli::WriteImageFile(Lopsided(17, 9, 3, 8, false), folder + "in.png", cli::ImageFileKind::Png);
  WriteText(in, ReadText(folder + "in.png"));
  ASSERT_TRUE(Succeeds({"render", in, out, "-q", "--save-settings", saved, "--record", record}));
  ASSERT_TRUE(Succeeds({"thumbnail", saved, folder + "cr\xc3\xa8me.tif"}));
  ASSERT_TRUE(Succeeds({"psd", folder + "\xc3\x9f.psd", in, "--settings", saved}));
  EXPECT_EQ(FolderEntries(folder),
            (std::vector<std::string>{"caf\xc3\xa9_out.png", "cr\xc3\xa8me.tif", "in.png",
                                      "\xc3\x9f.psd", "\xce\xa9mega in.png",
                                      "\xd0\xb7\xd0\xb2\xd0\xb5\xd0\xb7\xd0\xb4\xd0\xb0.q9r",
                                      "\xe6\x97\xa5\xe6\x9c\xac.txt"}));
}

}  // namespace
}  // namespace clitest
