// What `stellane` does to the files it writes over: a full disk, a failing
// second output, a signal, a FIFO or a link as the output. An existing
// file is replaced whole or kept as it was, and no temporary file stays.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "TestPictures.h"
#include "stellane/ImageFiles.h"

namespace clitest {
namespace {

namespace fs = std::filesystem;

class Outputs : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ScratchFolder();
    input_ = folder_ + "in.png";
    cli::WriteImageFile(Lopsided(157, 91, 3, 8, false), input_, cli::ImageFileKind::Png);
    // Two settings files of the library for the presets pages.
    fs::create_directory(folder_ + "presets");
    for (const char* name : {"a", "b"})
      fs::copy_file("presets/Milky Way band.q9r", folder_ + "presets/" + name + ".q9r");
  }
  void Keep(const std::string& name) { WriteText(folder_ + name, "precious " + name); }
  void ExpectKept(const std::string& name) {
    EXPECT_EQ(ReadText(folder_ + name), "precious " + name);
  }
  std::string folder_, input_;
};

TEST_F(Outputs, FullDiskKeepsEveryExistingFile) {
  if (!LimitsApply(Limits::kSmallFiles)) GTEST_SKIP() << "no file size limit here";
  // Each writer must notice its own failed writes.
  const struct {
    std::vector<std::string> args;
    std::string target;  // kept, and named in the message
  } cases[] = {
      {{"render", input_, folder_ + "out.png", "-q"}, "out.png"},
      {{"render", input_, folder_ + "out.tif", "-q"}, "out.tif"},
      {{"render", input_, folder_ + "out.jpg", "-q", "--set", "density=100"}, "out.jpg"},
      {{"psd", folder_ + "out.psd", input_}, "out.psd"},
      {{"html", "presets", folder_ + "presets", folder_ + "page.html"}, "page.html"},
  };
  for (const auto& c : cases) {
    Keep(c.target);
    const auto before = FolderEntries(folder_);
    const CliResult run = RunStellane(c.args, Limits::kSmallFiles);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Holds(run.err, folder_ + c.target));
    // The system's reason, or libjpeg's own words for it.
    EXPECT_TRUE(run.err.find("File too large") != std::string::npos ||
                run.err.find("out of disk space") != std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find(".part"), std::string::npos) << run.err;
    ExpectKept(c.target);
    EXPECT_EQ(FolderEntries(folder_), before) << c.target;  // also no page pictures
  }
}

TEST_F(Outputs, SucceedOrFailAsAWhole) {
  Keep("out.png");
  // The record cannot be written: the image is not replaced either.
  CliResult run = RunStellane(
      {"render", input_, folder_ + "out.png", "-q", "--record", folder_ + "no/such/r.txt"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_TRUE(Holds(run.err, "cannot write " + folder_ + "no/such/r.txt: "));
  ExpectKept("out.png");

  // A signal while the outputs are written: no file, 130 or 143 as shells
  // report SIGINT (2) and SIGTERM (15). The page's pictures written before
  // it go too, with the folder made for them.
  Keep("page.html");
  for (const char* signal : {"2", "15"}) {
    SetEnvironment("STELLANE_TEST_SIGNAL_WHILE_WRITING", signal);
    for (const auto& args : {std::vector<std::string>{"render", input_, folder_ + "out.png", "-q",
                                                      "--save-settings", folder_ + "s.q9r"},
                             std::vector<std::string>{"html", "presets", folder_ + "presets",
                                                      folder_ + "page.html"}}) {
      run = RunStellane(args);
      EXPECT_EQ(run.exitCode, signal == std::string("2") ? 130 : 143) << args[0] << run.err;
    }
    SetEnvironment("STELLANE_TEST_SIGNAL_WHILE_WRITING", "");
    ExpectKept("out.png");
    ExpectKept("page.html");
  }
  EXPECT_EQ(FolderEntries(folder_),
            (std::vector<std::string>{"in.png", "out.png", "page.html", "presets"}));
}

TEST_F(Outputs, SpecialFilesAreRefusedAndLinksWrittenThrough) {
  if (std::string(STELLANE_CLI_NAME).find(".exe") != std::string::npos)
    GTEST_SKIP() << "FIFOs and links are tried on Linux";
  const std::string fifo = folder_ + "fifo.png";
  ASSERT_EQ(std::system(("mkfifo " + fifo).c_str()), 0);
  const CliResult refused = RunStellane({"render", input_, fifo, "-q"});
  EXPECT_EQ(refused.exitCode, 1) << refused.err;
  EXPECT_TRUE(Holds(refused.err, fifo + ": not a regular file"));
  EXPECT_TRUE(fs::is_fifo(fifo));

  // A link is followed: the file it points to is replaced, the link stays.
  Keep("real.png");
  fs::create_symlink("real.png", folder_ + "link.png");
  const CliResult run = RunStellane({"render", input_, folder_ + "link.png", "-q"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::is_symlink(folder_ + "link.png"));
  EXPECT_EQ(cli::ReadImageFile(folder_ + "real.png").width, 157);
}

}  // namespace
}  // namespace clitest
