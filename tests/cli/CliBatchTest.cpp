// Many files at once and copies of the program, end to end.
#include <gtest/gtest.h>

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
    EXPECT_TRUE(Holds(run.err, "c.png: not a PNG, JPEG or TIFF"));
    EXPECT_TRUE(Holds(run.err, "1 of 3 files failed"));
    ASSERT_EQ(FolderEntries(out), (std::vector<std::string>{"a.png", "b.tif"}));
    EXPECT_EQ(cli::ReadImageFile(out + "b.tif").depth, 16);
    written.push_back(ReadText(out + "a.png") + ReadText(out + "b.tif"));
  }
  EXPECT_EQ(written[0], written[1]);
}

// A copy of the program without its module says where the module goes.
TEST(Batch, CopyWithoutItsModuleNamesPlugin) {
  const std::string app = ScratchFolder() + "app/";
  fs::create_directories(app);
  fs::copy_file(STELLANE_CLI_NAME, app + STELLANE_CLI_NAME);
  UseProgramIn(app);
  const CliResult run = RunStellane({"render", "--demo", app + "out.png"});
  UseProgramIn("");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Holds(run.err, "beside stellane, or name the module with --plugin PATH"));
}

}  // namespace
}  // namespace clitest
