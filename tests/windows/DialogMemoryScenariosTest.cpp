// The main dialog's memory dots under Wine, used the way a user would: what
// the screen shows of them, the files they keep, and the web pages of the
// dots and of a folder of presets that the thumbnail and "^" write and open.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "DialogDriver.h"

namespace {

using namespace wintest;

// Memory dot i is a 12 x 12 area; its 8 x 8 picture sits 2 pixels down.
struct DotPlace {
  int top, left;
};
constexpr DotPlace kDots[] = {{419, 401}, {431, 405}, {443, 405}, {456, 401}, {469, 397}};

// The big-endian 32-bit items at the start of a settings file.
std::vector<std::int32_t> ReadItems(const std::string& path, int count) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::int32_t> items;
  unsigned char b[4];
  while (int(items.size()) < count && in.read(reinterpret_cast<char*>(b), 4))
    items.push_back(std::int32_t(std::uint32_t(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3]));
  return items;
}

// What the screen shows of a dot's picture.
std::vector<COLORREF> DotLook(HWND dialog, int index) {
  Settle(dialog, 100);
  POINT at = {kDots[index].left, kDots[index].top + 2};
  ClientToScreen(dialog, &at);
  HDC screen = GetDC(nullptr);
  std::vector<COLORREF> look;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) look.push_back(GetPixel(screen, at.x + x, at.y + y));
  ReleaseDC(nullptr, screen);
  return look;
}

void ClickDot(HWND dialog, int index, bool rightButton = false) {
  ClickIn(dialog, kDots[index].left + 6, kDots[index].top + 6, rightButton);
}

std::string DotFile(const std::string& temp, int index) {
  return temp + "Stellane memory dot " + std::to_string(index) + ".q9r";
}

using DialogMemory = DialogScenario;

TEST_F(DialogMemory, DotsStoreRecallAndClearAndTheirPagesOpen) {
  ShellOpenStub shell("test-tmp\\memory-shell-opened.txt");
  // A folder holding one preset of the library.
  const std::string folder = FullPath("test-tmp\\dots-presets");
  const std::string preset = folder + "\\b.q9r", presetsPage = folder + "\\presets.html";
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA("presets\\Milky Way band.q9r", preset.c_str(), FALSE));
  DeleteFileA(presetsPage.c_str());
  DeleteFileA((folder + "\\web_images\\b.jpg").c_str());
  ASSERT_TRUE(Start("dots")) << "no dialog appeared";
  DeleteFileA((temp_ + "web_images\\dot 3.jpg").c_str());

  // The opening keeps the incoming settings in the first unpinned dot.
  EXPECT_TRUE(Exists(DotFile(temp_, 0)));
  EXPECT_FALSE(Exists(DotFile(temp_, 3)));
  const std::vector<COLORREF> empty = DotLook(dialog_, 3);
  EXPECT_NE(DotLook(dialog_, 0), empty);

  // A click on an empty dot stores the settings there, pinned and current.
  DragIn(dialog_, 140, 52, 195, 52);
  ASSERT_EQ(TextOf(dialog_, kEditA), "50");
  ClickDot(dialog_, 3);
  ASSERT_TRUE(Exists(DotFile(temp_, 3)));
  EXPECT_EQ(ReadItems(DotFile(temp_, 3), 15).back(), 50);  // item 15: paramA
  const std::vector<COLORREF> stored = DotLook(dialog_, 3);
  EXPECT_NE(stored, empty);

  // A right-click on an empty dot stores too, and takes the current mark.
  DragIn(dialog_, 140, 52, 150, 52);
  const std::string other = TextOf(dialog_, kEditA);
  ASSERT_NE(other, "50");
  ClickDot(dialog_, 4, true);
  ASSERT_TRUE(Exists(DotFile(temp_, 4)));
  EXPECT_EQ(std::to_string(ReadItems(DotFile(temp_, 4), 15).back()), other);
  EXPECT_NE(DotLook(dialog_, 3), stored);

  // A plain click on a filled dot brings its settings back into the boxes.
  ClickDot(dialog_, 3);
  EXPECT_EQ(TextOf(dialog_, kEditA), "50");
  EXPECT_EQ(DotLook(dialog_, 3), stored);
  Screenshot(dialog_, "memory-dots");

  // A right-click on a filled dot empties it; its settings stay in the boxes.
  ClickDot(dialog_, 4, true);
  EXPECT_EQ(DotLook(dialog_, 4), empty);
  EXPECT_EQ(TextOf(dialog_, kEditA), "50");

  // The right button on the dots' thumbnail (96 x 96 at top 430, left 418)
  // writes the page of the memory dots and opens it.
  ClickIn(dialog_, 418 + 48, 430 + 48, true);
  ASSERT_NO_FATAL_FAILURE(Choose("Save an HTML page", temp_ + "dots.html"));
  std::string opened = shell.WaitFor("dots.html", 30);
  EXPECT_NE(opened.find("dots.html"), std::string::npos) << opened;
  EXPECT_TRUE(Exists(temp_ + "web_images\\dot 3.jpg"));

  // "^" writes the page of a folder's presets and opens it.
  PressButton(dialog_, kPresetPage);
  ASSERT_NO_FATAL_FAILURE(Choose("Choose any file in the source folder", preset));
  ASSERT_NO_FATAL_FAILURE(Choose("Save an HTML page", presetsPage));
  opened = shell.WaitFor("presets.html", 30);
  EXPECT_NE(opened.find("presets.html"), std::string::npos) << opened;
  EXPECT_TRUE(Exists(folder + "\\web_images\\b.jpg"));

  const std::string record = PressOkForRecord();
  EXPECT_NE(record.find("0007 long 50\n"), std::string::npos) << record;
  // The run's end writes the pinned flags: dot 3 pinned, dot 4 emptied.
  const std::vector<std::int32_t> directory = ReadItems(temp_ + "Stellane directory 2", 26);
  ASSERT_EQ(directory.size(), 26u);
  EXPECT_EQ(directory[0], 50);
  EXPECT_EQ(directory[1 + 3], 1);
  EXPECT_EQ(directory[1 + 4], 0);
  EXPECT_EQ(directory[1 + 0], 0);  // the scratch dot is never pinned
}

}  // namespace
