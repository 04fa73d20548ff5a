// Stellane.8bf loaded under Windows (Wine in CI) by the test host, driven
// through its one export as image editors drive it, with its real dialogs:
// those the module opens are closed by the dialog watcher and checked for
// what they showed, or confirmed with OK where a host waits for that. (Full
// runs of the module on every kind of image are the command line's tests,
// which stellane.exe runs with Stellane.8bf under Wine as well.)
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "../unit/ScratchTempFolder.h"
#include "support/DialogWatcher.h"
#include "testhost/TestHost.h"

namespace {

constexpr int kOk = 3;

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

  // Lopsided, so that swapped rows, columns or planes show.
  static testhost::Image Picture(int width, int height, int planes, int depth) {
    testhost::Image image = testhost::Image::Make(width, height, planes, depth);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int p = 0; p < planes; ++p)
          image.Set(x, y, p, (x * 7 + y * 13 + p * 61) % 256 * image.MaxValue() / 255);
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

// Presses OK in the main dialog as soon as it is active; the watcher would
// close it, which cancels.
LRESULT CALLBACK ConfirmMainDialog(int code, WPARAM wParam, LPARAM lParam) {
  const HWND window = reinterpret_cast<HWND>(wParam);
  char title[32] = {};
  if (code == HCBT_ACTIVATE && GetWindowTextA(window, title, sizeof title) &&
      std::string(title) == "Stellane") {
    SetPropA(window, "WintestSeen", reinterpret_cast<HANDLE>(1));
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(kOk, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, kOk)));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// pspiHost and GIMP's pspi bridge run with the settings last confirmed in
// the dialog. Without transparency or a selection the preview at 100 %
// shows the result itself, so what the profile's displayPixels drew into the
// real dialog must be the run's output.
TEST_F(Module, PspiHostsConfirmTheDialogWhosePreviewShowsTheResult) {
  stellane::ScratchTempFolder temp;
  const HHOOK hook = SetWindowsHookExA(WH_CBT, ConfirmMainDialog, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  // A scripted run confirms nebulae only (stars come from the clock) and
  // the glue "screen".
  testhost::HostConfig editor = testhost::PhotoshopHost();
  editor.playInfo = ps::plugInDialogDisplay;
  editor.descriptorToPlay = testhost::Descriptor{
      testhost::IntegerItem(ps::FourCC("0008"), 0),
      testhost::EnumeratedItem(ps::FourCC("GLUE"), ps::FourCC("GLty"), ps::FourCC("GL10"))};
  testhost::TestHost scripted(module->Entry(), editor);
  scripted.SetImage(Picture(45, 31, 3, 8));
  ASSERT_EQ(scripted.RunFilter().result, 0);

  for (const testhost::HostConfig& profile : {testhost::PspiHostDll(), testhost::GimpPspiHost()})
    for (const int planes : {3, 1}) {
      SCOPED_TRACE(std::string(profile.quirks.pspiHostDisplay ? "pspiHost" : "GIMP pspi") +
                   (planes == 3 ? " RGB" : " grey"));
      testhost::TestHost host(module->Entry(), profile);
      host.SetImage(Picture(45, 31, planes, 8));  // small enough for a preview at 100 %
      const testhost::RunReport run = host.RunFilter({.withParameters = true});
      EXPECT_EQ(run.result, 0) << "the dialog was not confirmed";
      EXPECT_TRUE(host.Log().protocolErrors.empty()) << host.Log().protocolErrors.front();
      EXPECT_TRUE(wintest::TakeSeenDialogs().empty());
      ASSERT_FALSE(host.Log().displays.empty()) << "the preview drew nothing";
      const testhost::ShownScreen screen = testhost::ShowCalls(host.Log().displays);
      const testhost::Image& out = host.GetImage();
      ASSERT_EQ(screen.planes, planes);
      int wrong = 0;
      for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
          const std::uint8_t* shown = screen.At(screen.top + y, screen.left + x);
          for (int c = 0; c < planes; ++c) wrong += !shown || shown[c] != out.Get(x, y, c);
        }
      EXPECT_EQ(wrong, 0) << "samples the preview showed otherwise than the result";
    }
  UnhookWindowsHookEx(hook);
}

// The About box from its template with its artwork, owned by none and kept
// on the screen; it allocates nothing and opens again in the same session.
TEST_F(Module, AboutBoxStaysOnTheScreenAndReopens) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  // A host window mostly past the screen's corner.
  HWND parent = CreateWindowExA(0, "STATIC", "Host", WS_POPUP | WS_VISIBLE, work.right - 150,
                                work.bottom - 80, 900, 600, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  testhost::HostConfig config = testhost::PspiHostDll();  // result preset to 1
  config.parentWindow = reinterpret_cast<std::intptr_t>(parent);
  testhost::TestHost host(module->Entry(), config);
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(host.About(), 0);
    const auto dialogs = wintest::TakeSeenDialogs();
    ASSERT_EQ(dialogs.size(), 1u) << round;
    const wintest::SeenDialog& box = dialogs[0];
    EXPECT_EQ(box.title, "About");
    EXPECT_EQ(std::count(box.texts.begin(), box.texts.end(), "Visit Quillwork's website..."), 1);
    EXPECT_EQ(box.owner, nullptr) << "placed over the host's window, owned by none";
    EXPECT_EQ(box.right, work.right);
    EXPECT_EQ(box.bottom, work.bottom);
  }
  EXPECT_EQ(host.Log().handlesAllocated, 0);
  EXPECT_EQ(host.DataWord(), 0);
  DestroyWindow(parent);
  HMODULE file = LoadLibraryExA(STELLANE_PLUGIN_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  for (const char* name : {"ABOUTSKY", "ABOUTMARK", "ABOUTRULE"})
    EXPECT_NE(FindResourceA(file, name, MAKEINTRESOURCEA(2)), nullptr) << name;  // RT_BITMAP
  FreeLibrary(file);
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
    host.SetImage(Picture(8, 8, 3, 8));
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
