// Stellane.8bf loaded under Windows (Wine in CI) by the test host, driven
// through its one export as image editors drive it, with its real dialogs:
// those the module opens are closed by the dialog watcher and checked for
// what they showed, or confirmed with OK where a host waits for that. (Full
// runs on every kind of image: stellane.exe's tests under Wine.)
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

// pspiHost and GIMP's pspi bridge show the real dialog on every run with
// parameters and run once it is confirmed; its preview draws through the
// host's displayPixels in the picture's planes. (That the preview shows the
// result sample for sample is checked natively, through the same preview
// code, by HostProfiles.EveryShapeAndAreaWithTheDialogAndTwoRuns.)
TEST_F(Module, PspiHostsConfirmTheDialogWhosePreviewDrawsThroughTheHost) {
  stellane::ScratchTempFolder temp;
  const HHOOK hook = SetWindowsHookExA(WH_CBT, ConfirmMainDialog, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  for (const testhost::HostConfig& profile : {testhost::PspiHostDll(), testhost::GimpPspiHost()})
    for (const int planes : {3, 1}) {
      SCOPED_TRACE(std::string(profile.quirks.pspiHostDisplay ? "pspiHost" : "GIMP pspi") +
                   (planes == 3 ? " RGB" : " grey"));
      testhost::TestHost host(module->Entry(), profile);
      host.SetImage(testhost::Image::Make(45, 31, planes, 8));  // a preview at 100 %
      const testhost::RunReport run = host.RunFilter({.withParameters = true});
      EXPECT_EQ(run.result, 0) << "the dialog was not confirmed";
      EXPECT_TRUE(host.Log().protocolErrors.empty()) << host.Log().protocolErrors.front();
      EXPECT_TRUE(wintest::TakeSeenDialogs().empty());
      ASSERT_FALSE(host.Log().displays.empty()) << "the preview drew nothing";
      EXPECT_EQ(testhost::ShowCalls(host.Log().displays).planes, planes);
    }
  UnhookWindowsHookEx(hook);
}

// The About box from its template with its artwork, owned by none and kept
// on the screen; it opens again in the same session. (That it allocates
// nothing is checked natively through the same selector code.)
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
    host.SetImage(testhost::Image::Make(8, 8, 3, 8));
    const testhost::RunReport run = host.RunFilter();
    EXPECT_EQ(run.startResult, 1);
    EXPECT_EQ(run.rowsDelivered, 0);
    EXPECT_EQ(host.OutstandingBuffers(), 0);
    const auto dialogs = wintest::TakeSeenDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, c.title);
    for (const char* text : {c.message, c.button})
      EXPECT_EQ(std::count(dialogs[0].texts.begin(), dialogs[0].texts.end(), text), 1) << text;
  }
}

}  // namespace
