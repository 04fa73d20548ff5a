// Stellane.8bf loaded under Windows (Wine in CI) by the test host, driven
// through its one export as an image editor drives it. Dialogs the module
// opens are closed by the dialog watcher and checked for what they showed.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "support/DialogWatcher.h"
#include "testhost/TestHost.h"

namespace {

class Module : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wintest::WatchDialogs();
    module = testhost::PluginModule::Load(STELLANE_PLUGIN_PATH, &loadError).release();
  }
  static void TearDownTestSuite() {
    delete module;
    module = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(module, nullptr) << loadError;
    wintest::TakeSeenDialogs();
  }

  static testhost::Image Gradient(int width, int height, int planes, int depth) {
    testhost::Image image = testhost::Image::Make(width, height, planes, depth);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int p = 0; p < planes; ++p)
          image.Set(x, y, p, image.MaxValue() * (x + y + p) / (width + height + planes));
    return image;
  }

  static bool HasText(const wintest::SeenDialog& dialog, const std::string& text) {
    return std::find(dialog.texts.begin(), dialog.texts.end(), text) != dialog.texts.end();
  }

  static testhost::PluginModule* module;
  static std::string loadError;
};
testhost::PluginModule* Module::module = nullptr;
std::string Module::loadError;

TEST_F(Module, FullRunsOnGreyAndColourImagesOfBothDepths) {
  const struct { int planes, depth; } shapes[] = {{3, 8}, {1, 8}, {3, 16}, {1, 16}};
  for (const auto& shape : shapes) {
    SCOPED_TRACE("planes " + std::to_string(shape.planes) + ", depth " +
                 std::to_string(shape.depth));
    testhost::TestHost host(module->Entry());
    host.SetImage(Gradient(24, 17, shape.planes, shape.depth));
    const testhost::RunReport run = host.RunFilter();
    EXPECT_EQ(run.result, 0);  // the first non-zero status of any call
    EXPECT_TRUE(run.finishCalled);
    EXPECT_FALSE(run.hitCallCap);
    EXPECT_GE(run.rowsDelivered, 17);
    EXPECT_TRUE(host.Log().protocolErrors.empty()) << host.Log().protocolErrors.front();
    EXPECT_EQ(host.OutstandingBuffers(), 0);
    EXPECT_EQ(host.TotalHandleLocks(), 0);
    EXPECT_TRUE(wintest::TakeSeenDialogs().empty());

    // A second run in the same session reuses the globals and the record.
    const std::intptr_t dataWord = host.DataWord();
    EXPECT_NE(dataWord, 0);
    EXPECT_EQ(host.RunFilter().result, 0);
    EXPECT_EQ(host.DataWord(), dataWord);
  }
}

TEST_F(Module, AboutBoxShowsItsTemplateAllocatesNothingAndCanBeReopened) {
  testhost::TestHost host(module->Entry(), testhost::PspiHostDll());  // result preset to 1
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(host.About(), 0);
    const auto dialogs = wintest::TakeSeenDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "About");
    const auto& ids = dialogs[0].controlIds;
    const auto button = std::find(ids.begin(), ids.end(), 5);
    ASSERT_NE(button, ids.end());
    EXPECT_EQ(dialogs[0].texts[button - ids.begin()], "Visit Quillwork's website...");
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 5), 1);
  }
  EXPECT_EQ(host.Log().handlesAllocated, 0);
  EXPECT_EQ(host.DataWord(), 0);
}

TEST_F(Module, AboutBoxSitsOverTheHostWindowAndStaysOnTheScreen) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  struct Placement {
    int left, top, width, height;
  };
  const Placement placements[] = {
      {work.left + 100, work.top + 120, 900, 600},     // well inside the screen
      {work.right - 150, work.bottom - 80, 900, 600},  // mostly past its corner
  };
  for (const Placement& p : placements) {
    const bool inside = &p == &placements[0];
    HWND parent = CreateWindowExA(0, "STATIC", "Host", WS_POPUP | WS_VISIBLE, p.left, p.top,
                                  p.width, p.height, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    testhost::HostConfig config;
    config.parentWindow = reinterpret_cast<std::intptr_t>(parent);
    testhost::TestHost host(module->Entry(), config);
    EXPECT_EQ(host.About(), 0);
    const auto dialogs = wintest::TakeSeenDialogs();
    DestroyWindow(parent);
    ASSERT_EQ(dialogs.size(), 1u);
    const wintest::SeenDialog& box = dialogs[0];
    EXPECT_EQ(box.owner, nullptr) << "placed over the host's window, owned by none";
    const long width = box.right - box.left, height = box.bottom - box.top;
    if (inside) {
      // Centred across, a third of the free height above, two thirds below.
      EXPECT_NEAR(box.left, p.left + (p.width - width) / 2, 1);
      EXPECT_NEAR(box.top, p.top + (p.height - height) / 3, 1);
    } else {
      EXPECT_EQ(box.right, work.right);
      EXPECT_EQ(box.bottom, work.bottom);
    }
  }
}

TEST_F(Module, HostsAndImagesItCannotWorkWithAreRefusedWithTheirMessage) {
  testhost::HostConfig oldHost;
  oldHost.offerAdvanceState = false;
  testhost::HostConfig multichannel;
  multichannel.imageMode = 7;  // plugInModeMultichannel
  const struct {
    testhost::HostConfig config;
    const char *title, *message, *button;
  } cases[] = {{oldHost, "Plug-in error",
                "The filter cannot run because your paint program does not support "
                "enough of the Photoshop 3.0 plug-in standard.",
                "Cancel"},
               {multichannel, "Stellane", "The filter cannot run.", "OK"}};
  for (const auto& c : cases) {
    testhost::TestHost host(module->Entry(), c.config);
    host.SetImage(Gradient(8, 8, 3, 8));
    const testhost::RunReport run = host.RunFilter();
    EXPECT_EQ(run.startResult, 1);
    EXPECT_EQ(run.rowsDelivered, 0);
    EXPECT_EQ(host.OutstandingBuffers(), 0);
    const auto dialogs = wintest::TakeSeenDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, c.title);
    EXPECT_TRUE(HasText(dialogs[0], c.message)) << c.message;
    EXPECT_TRUE(HasText(dialogs[0], c.button)) << c.button;
  }
}

}  // namespace
