// The files kept in the temporary folder: their names, the settings file on
// disk and the memory-dot directory.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ScratchTempFolder.h"
#include "params/DotDirectory.h"
#include "params/FilePaths.h"
#include "params/SettingsFile.h"
#include "params/TempFolder.h"

namespace stellane {
namespace {

namespace fs = std::filesystem;

// (The names themselves are checked where the dialog and the scripting runs
// make the files.)
TEST(TempFiles, AFolderThatLeavesNoRoomForTheNameGivesNoPath) {
  ScratchTempFolder scratch;
  char path[kPathBytes];
  std::string longFolder = scratch.Folder().string() + "/";
  longFolder.append(kPathBytes - 20 - longFolder.size(), 'x');
  for (const char* variable : {"TMPDIR", "TMP", "TEMP"}) SetEnvironment(variable, longFolder);
  EXPECT_FALSE(TempFilePath(kCachedSettingsName, path));
  EXPECT_STREQ(path, "");  // not a cut one
}

TEST(TempFiles, FolderAndNamesOutsideTheAnsiCodePage) {
  // A user name with U+03A9 and U+65E5: the cached settings still land there.
  ScratchTempFolder scratch;
  const std::string folder = Utf8FromPath(scratch.Folder()) + "/\xce\xa9 \xe6\x97\xa5";
  fs::create_directories(PathFromUtf8(folder));
  for (const char* variable : {"TMPDIR", "TMP", "TEMP"}) SetEnvironment(variable, folder);
  char path[kPathBytes];
  ASSERT_TRUE(TempFilePath(kCachedSettingsName, path));
  RenderParams params{};
  InitNewRenderParams(params);
  params.density = 33;
  ASSERT_EQ(WriteSettingsFile(path, params, nullptr), 0);
  EXPECT_TRUE(fs::exists(PathFromUtf8(folder) / kCachedSettingsName));
  RenderParams back{};
  EXPECT_EQ(ReadSettingsFile(path, SettingsReadMode::Values, back, nullptr).status, 0);
  EXPECT_EQ(back.density, 33);

  // "caf\xe9" is how an 8-bit build kept "café" in the host's parameters:
  // not UTF-8. It opens, under the same name each time, and nothing throws.
  const std::string eightBit = Utf8FromPath(scratch.Folder()) + "/caf\xe9.q9r";
  std::FILE* file = OpenFile(eightBit.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  EXPECT_GE(std::fputs("x", file), 0);
  std::fclose(file);
  file = OpenFile(eightBit.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(std::fgetc(file), 'x');
  std::fclose(file);
  EXPECT_EQ(Utf8FromPath(PathFromUtf8("\xce\xa9 caf\xc3\xa9")), "\xce\xa9 caf\xc3\xa9");
}

TEST(TempFiles, SettingsNameNormalisation) {
  const char* cases[][2] = {{"", "Stellane settings.q9r"},
                            {"nebula", "nebula.q9r"},
                            {"nebula.q9r", "nebula.q9r"},
                            {"my.nebula.v2", "my.nebula.q9r"},
                            {"C:\\presets.d\\calm", "C:\\presets.d\\calm.q9r"},
                            {"/home/a.b/calm", "/home/a.b/calm.q9r"}};
  char name[kPathBytes];
  for (const auto& c : cases) {
    std::strcpy(name, c[0]);
    NormaliseSettingsName(name);
    EXPECT_STREQ(name, c[1]) << c[0];
  }
  std::memset(name, 'n', sizeof name);  // full and unterminated
  NormaliseSettingsName(name);
  EXPECT_EQ(std::strlen(name), std::size_t(kPathBytes - 1));
  EXPECT_STREQ(name + kPathBytes - 5, ".q9r");
}

TEST(TempFiles, SettingsFileOnDisk) {
  ScratchTempFolder scratch;
  const std::string path = scratch.In("a.q9r");
  RenderParams p;
  InitNewRenderParams(p);
  p.glue = 44;
  ASSERT_EQ(WriteSettingsFile(path.c_str(), p, nullptr), 0);
  std::FILE* f = std::fopen(path.c_str(), "ab");
  std::fputs("an older, longer file", f);
  std::fclose(f);
  const auto longer = fs::file_size(path);
  p.glue = 45;
  ASSERT_EQ(WriteSettingsFile(path.c_str(), p, nullptr), 0);
  EXPECT_EQ(fs::file_size(path), longer);  // written over, not shortened
  p.glue = 1;
  EXPECT_EQ(ReadSettingsFile(path.c_str(), SettingsReadMode::Values, p, nullptr).status, 0);
  EXPECT_EQ(p.glue, 45);

  // Files that can't be opened change nothing; failed writes are reported.
  EXPECT_EQ(
      ReadSettingsFile(scratch.In("none").c_str(), SettingsReadMode::Values, p, nullptr).status,
      kFileNotOpened);
  EXPECT_EQ(p.glue, 45);
  EXPECT_EQ(WriteSettingsFile(scratch.In("no/folder.q9r").c_str(), p, nullptr), kFileNotOpened);
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(WriteSettingsFile("/dev/full", p, nullptr), kFileNotWritten);
    EXPECT_EQ(WriteDotDirectoryFile("/dev/full", DotPins{}), kFileNotWritten);
  }
}

TEST(TempFiles, DotDirectory) {
  ScratchTempFolder scratch;
  const std::string path = scratch.In("Stellane directory 2");
  DotPins pins{};
  pins.pinned[0] = 1;
  ASSERT_EQ(WriteDotDirectoryFile(path.c_str(), pins), 0);
  EXPECT_EQ(fs::file_size(path), 26u * 4);
  // The first item is passed over; a short file keeps the flags it lacks.
  fs::resize_file(path, 4 * 3 + 2);
  DotPins read;
  for (auto& flag : read.pinned) flag = 1;
  read.pinned[0] = 0;
  ASSERT_EQ(ReadDotDirectoryFile(path.c_str(), read), 0);
  EXPECT_EQ((std::vector{read.pinned[0], read.pinned[1], read.pinned[2]}), (std::vector{1, 0, 1}));
  EXPECT_EQ(ReadDotDirectoryFile(scratch.In("none").c_str(), read), kFileNotOpened);
}

}  // namespace
}  // namespace stellane
