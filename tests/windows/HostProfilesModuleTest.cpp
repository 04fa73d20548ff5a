// Stellane.8bf under the whole-host profiles of pspiHost and GIMP's pspi
// bridge, with its real dialog: opened, its preview drawn by the profile's
// displayPixels into the dialog, and confirmed with OK.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "../unit/ScratchTempFolder.h"
#include "support/DialogWatcher.h"
#include "testhost/TestHost.h"

namespace {

constexpr int kOk = 3;

// Presses OK in the main dialog as soon as it is active; the watcher would
// close it, which cancels.
LRESULT CALLBACK ConfirmMainDialog(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    char title[32] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::string(title) == "Stellane") {
      SetPropA(window, "WintestSeen", reinterpret_cast<HANDLE>(1));
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(kOk, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, kOk)));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct Shape {
  const char* name;
  int colorPlanes;
};
void PrintTo(const Shape& shape, std::ostream* os) { *os << shape.name; }

class ProfileModule : public ::testing::TestWithParam<Shape> {
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
    hook_ = SetWindowsHookExA(WH_CBT, ConfirmMainDialog, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook_, nullptr);
    // These hosts run with the settings last confirmed in the dialog: a
    // scripted run confirms nebulae only (stars come from the clock) and
    // the glue "screen".
    testhost::HostConfig editor = testhost::PhotoshopHost();
    editor.playInfo = ps::plugInDialogDisplay;
    editor.descriptorToPlay = testhost::Descriptor{
        testhost::IntegerItem(ps::FourCC("0008"), 0),
        testhost::EnumeratedItem(ps::FourCC("GLUE"), ps::FourCC("GLty"), ps::FourCC("GL10"))};
    testhost::TestHost host(module->Entry(), editor);
    host.SetImage(Picture({"RGB", 3}));
    ASSERT_EQ(host.RunFilter().result, 0);
  }
  void TearDown() override {
    if (hook_) UnhookWindowsHookEx(hook_);
  }

  // A lopsided picture small enough for a preview at 100 %.
  static testhost::Image Picture(const Shape& shape) {
    testhost::Image image = testhost::Image::Make(45, 31, shape.colorPlanes, 8);
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        for (int c = 0; c < shape.colorPlanes; ++c)
          image.Set(x, y, c, (x * 7 + y * 13 + c * 61) % 256);
    return image;
  }

  static testhost::PluginModule* module;
  static std::string loadError;
  stellane::ScratchTempFolder temp_;
  HHOOK hook_ = nullptr;
};
testhost::PluginModule* ProfileModule::module = nullptr;
std::string ProfileModule::loadError;

// Without transparency or a selection the preview at 100 % shows the result
// itself, so what the host drew must be the run's output.
TEST_P(ProfileModule, DialogConfirmedAndItsPreviewShowsTheResult) {
  const Shape shape = GetParam();
  const testhost::HostConfig profiles[] = {testhost::PspiHostDll(), testhost::GimpPspiHost()};
  for (const testhost::HostConfig& profile : profiles) {
    SCOPED_TRACE(profile.quirks.pspiHostDisplay ? "pspiHost" : "GIMP pspi");
    testhost::TestHost host(module->Entry(), profile);
    host.SetImage(Picture(shape));
    const testhost::RunReport run = host.RunFilter({.withParameters = true});
    EXPECT_EQ(run.result, 0) << "the dialog was not confirmed";
    EXPECT_TRUE(host.Log().protocolErrors.empty()) << host.Log().protocolErrors.front();
    EXPECT_TRUE(wintest::TakeSeenDialogs().empty());
    ASSERT_FALSE(host.Log().displays.empty()) << "the preview drew nothing";
    const testhost::ShownScreen screen = testhost::ShowCalls(host.Log().displays);
    const testhost::Image& out = host.GetImage();
    ASSERT_EQ(screen.planes, shape.colorPlanes);
    int wrong = 0;
    for (int y = 0; y < out.height; ++y)
      for (int x = 0; x < out.width; ++x) {
        const std::uint8_t* shown = screen.At(screen.top + y, screen.left + x);
        bool same = shown != nullptr;
        for (int c = 0; same && c < shape.colorPlanes; ++c) same = shown[c] == out.Get(x, y, c);
        wrong += same ? 0 : 1;
      }
    EXPECT_EQ(wrong, 0) << "pixels the preview showed otherwise than the result";
  }
}

INSTANTIATE_TEST_SUITE_P(, ProfileModule, ::testing::Values(Shape{"RGB", 3}, Shape{"grey", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
