// The files kept in the temporary folder: their names, the settings file on
// disk, the memory-dot directory and the run's cached settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "ScratchTempFolder.h"
#include "host/Globals.h"
#include "params/DotDirectory.h"
#include "params/RunHooks.h"
#include "params/SettingsFile.h"
#include "params/TempFolder.h"

namespace stellane {
namespace {

namespace fs = std::filesystem;

class TempFolderTest : public ::testing::Test {
 protected:
  std::string In(const char* name) const { return scratch_.In(name); }
  ScratchTempFolder scratch_;
  char path_[5][kPathBytes] = {};
};

TEST_F(TempFolderTest, NamesOfTheTemporaryFiles) {
  const struct {
    bool made;
    const char* name;
  } paths[] = {
      {TempFilePath(kCachedSettingsName, path_[0]), "Stellane cached settings C"},
      {TempFilePath(kDotDirectoryName, path_[1]), "Stellane directory 2"},
      {UndoFilePath(1, path_[2]), "Stellane undo 1"},
      {MemoryDotFilePath(3, path_[3]), "Stellane memory dot 3.q9r"},
      {MemoryDotFilePath(25, path_[4]), "Stellane memory dot 25.q9r"},
  };
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(paths[i].made) << paths[i].name;
    const fs::path made(path_[i]);
    EXPECT_EQ(made.filename().string(), paths[i].name);
    EXPECT_TRUE(fs::equivalent(made.parent_path(), scratch_.Folder())) << path_[i];
  }

  // A folder that leaves no room for the name: no path rather than a cut one.
  std::string longFolder = scratch_.Folder().string() + "/";
  longFolder.append(kPathBytes - 20 - longFolder.size(), 'x');
  for (const char* variable : {"TMPDIR", "TMP", "TEMP"}) SetEnvironment(variable, longFolder);
  char path[kPathBytes];
  EXPECT_FALSE(TempFilePath(kCachedSettingsName, path));
  EXPECT_STREQ(path, "");
}

TEST(SettingsName, Normalisation) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"", "Stellane settings.q9r"},
      {"nebula", "nebula.q9r"},
      {"nebula.q9r", "nebula.q9r"},
      {"nebula.txt", "nebula.q9r"},
      {"my.nebula.v2", "my.nebula.q9r"},
      {"C:\\presets.d\\calm", "C:\\presets.d\\calm.q9r"},
      {"/home/a.b/calm", "/home/a.b/calm.q9r"},
  };
  for (const auto& c : cases) {
    char name[kPathBytes];
    std::strcpy(name, c.in);
    NormaliseSettingsName(name);
    EXPECT_STREQ(name, c.out) << c.in;
  }
  // A full, unterminated buffer still ends in the extension.
  char name[kPathBytes];
  std::memset(name, 'n', sizeof name);
  NormaliseSettingsName(name);
  EXPECT_EQ(std::strlen(name), std::size_t(kPathBytes - 1));
  EXPECT_STREQ(name + kPathBytes - 5, ".q9r");
}

TEST_F(TempFolderTest, SettingsFileOnDisk) {
  RenderParams written;
  InitNewRenderParams(written);
  written.density = 3;
  written.glue = 44;
  const std::string path = In("a.q9r");
  ASSERT_EQ(WriteSettingsFile(path.c_str(), written, nullptr), 0);

  RenderParams read;
  InitNewRenderParams(read);
  SettingsReadResult result =
      ReadSettingsFile(path.c_str(), SettingsReadMode::Values, read, nullptr);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(read.density, 3);
  EXPECT_EQ(read.glue, 44);

  // Written over from the start; a longer old file keeps its tail.
  {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    std::fputs("tail", f);
    std::fclose(f);
  }
  const auto longer = fs::file_size(path);
  written.density = 4;
  ASSERT_EQ(WriteSettingsFile(path.c_str(), written, nullptr), 0);
  EXPECT_EQ(fs::file_size(path), longer);
  ReadSettingsFile(path.c_str(), SettingsReadMode::Values, read, nullptr);
  EXPECT_EQ(read.density, 4);

  // A file that can't be opened changes nothing.
  read.density = 77;
  result = ReadSettingsFile(In("missing.q9r").c_str(), SettingsReadMode::Values, read, nullptr);
  EXPECT_EQ(result.status, kFileNotOpened);
  EXPECT_EQ(read.density, 77);
  EXPECT_EQ(WriteSettingsFile(In("no/such/folder.q9r").c_str(), written, nullptr), kFileNotOpened);
  // A device that takes no bytes: the failure is reported, not hidden.
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(WriteSettingsFile("/dev/full", written, nullptr), kFileNotWritten);
    EXPECT_EQ(WriteDotDirectoryFile("/dev/full", DotPins{}), kFileNotWritten);
  }
}

TEST_F(TempFolderTest, DotDirectoryRoundTripAndShortFile) {
  DotPins pins{};
  pins.pinned[0] = 1;
  pins.pinned[24] = 1;
  pins.pinned[7] = 5;  // any non-zero flag is pinned
  const std::string path = In("Stellane directory 2");
  ASSERT_EQ(WriteDotDirectoryFile(path.c_str(), pins), 0);
  EXPECT_EQ(fs::file_size(path), 26u * 4);

  DotPins read{};
  for (auto& p : read.pinned) p = 1;
  ASSERT_EQ(ReadDotDirectoryFile(path.c_str(), read), 0);
  EXPECT_EQ(read.pinned[0], 1);
  EXPECT_EQ(read.pinned[1], 0);
  EXPECT_EQ(read.pinned[7], 1);
  EXPECT_EQ(read.pinned[24], 1);

  // The first item is passed over; a short file keeps the flags it lacks.
  fs::resize_file(path, 4 * 3 + 2);
  DotPins partial{};
  for (auto& p : partial.pinned) p = 1;
  partial.pinned[0] = 0;
  ASSERT_EQ(ReadDotDirectoryFile(path.c_str(), partial), 0);
  EXPECT_EQ(partial.pinned[0], 1);
  EXPECT_EQ(partial.pinned[1], 0);
  EXPECT_EQ(partial.pinned[2], 1);  // cut in the middle: kept
  EXPECT_EQ(ReadDotDirectoryFile(In("none").c_str(), partial), kFileNotOpened);
}

TEST_F(TempFolderTest, RunHooksKeepSettingsAndPinsInTheTemporaryFolder) {
  RenderParams params;
  InitNewRenderParams(params);
  std::int16_t result = 0;
  Globals g{};
  g.result = &result;
  g.params = &params;

  EXPECT_EQ(ReadCachedSettings(g), kFileNotOpened);  // nothing cached yet
  params.opacity = 88;
  EXPECT_EQ(WriteCachedSettings(g), 0);
  EXPECT_TRUE(fs::exists(In("Stellane cached settings C")));
  params.opacity = 1;
  EXPECT_EQ(ReadCachedSettings(g), 0);
  EXPECT_EQ(params.opacity, 88);

  RunDotPins() = DotPins{};
  RunDotPins().pinned[4] = 1;
  EXPECT_EQ(WriteDotDirectory(g), 0);
  RunDotPins().pinned[4] = 0;
  EXPECT_EQ(ReadDotDirectory(g), 0);
  EXPECT_EQ(RunDotPins().pinned[4], 1);
  RunDotPins() = DotPins{};
}

}  // namespace
}  // namespace stellane
