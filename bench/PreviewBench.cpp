// The dialog's preview as the user waits for it: the time from a slider
// change (press, drag, release on the brightness slider) to the finished
// preview, through the dialog's own behaviour and the test host's
// advanceState and displayPixels, on a 12-megapixel 8-bit RGB picture
// (4000 x 3000). At the fit factor the preview shows 500 x 375 pixels (every
// 8th), at 100 % a 500 x 406 window. The generic host draws every rendered
// row as it comes; Photoshop only every 100th.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>

#include "dialog/DialogHeadless.h"
#include "dialog/MainDialog.h"
#include "dialog/WindowlessDialog.h"
#include "host/PluginEntry.h"
#include "testhost/TestHost.h"

namespace stellane {
namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kSlider = 51;  // brightness

// A window that shows nothing and delivers the messages the dialog posts to
// itself, as a message loop does.
struct BenchWindow final : NoWindow {
  struct Posted {
    bool command;
    int control, x, y;
  };
  std::deque<Posted> posted;

  void PostCommand(int c) override { posted.push_back({true, c, 0, 0}); }
  void PostMouseMove(int x, int y) override { posted.push_back({false, -1, x, y}); }

  void Pump(Globals& g) {
    while (!posted.empty()) {
      const Posted p = posted.front();
      posted.pop_front();
      if (p.command)
        DialogCommand(g, p.control, kNotifyClick);
      else
        DialogMouseMove(g, p.x, p.y);
    }
  }
  // Drags the slider's knob from one value's place to another's.
  void DragSlider(Globals& g, std::int32_t from, std::int32_t to) {
    const ControlDesc& slider = LookupControl(kSlider);
    const int y = (slider.rect.top + slider.rect.bottom) / 2;
    const int grip = 4;
    DialogMousePress(g, SliderKnobLeft(slider, from) + grip, y, false, false);
    Pump(g);
    DialogMouseMove(g, SliderKnobLeft(slider, to) + grip, y);
    Pump(g);
    DialogMouseRelease(g, SliderKnobLeft(slider, to) + grip, y);
    Pump(g);
  }
};

testhost::Image Picture() {
  testhost::Image image = testhost::Image::Make(kWidth, kHeight, 3, 8);
  std::uint8_t* p = image.data.data();
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x, p += 3) {
      p[0] = std::uint8_t(x * 7 + y);
      p[1] = std::uint8_t(x * 3 + y * 5);
      p[2] = std::uint8_t(90 + (y >> 4));
    }
  return image;
}

// The plug-in's temporary files (memory dots, cached settings) go to a
// folder of the benchmark's own.
struct ScratchTemp {
  ScratchTemp() {
    if (const char* old = std::getenv("TMPDIR")) saved = old;
    char pattern[] = "/tmp/stellane-preview-bench-XXXXXX";
    if (mkdtemp(pattern)) folder = pattern;
    if (!folder.empty()) setenv("TMPDIR", folder.c_str(), 1);
  }
  ~ScratchTemp() {
    if (saved.empty())
      unsetenv("TMPDIR");
    else
      setenv("TMPDIR", saved.c_str(), 1);
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
  std::string saved;
  std::string folder;
};

enum class Zoom { Fit, Full };

void SliderToPreview(benchmark::State& state, Zoom zoom, ps::OSType hostSig) {
  ScratchTemp temp;
  testhost::HostConfig config = testhost::PhotoshopHost();
  config.hostSig = hostSig;
  config.playInfo = ps::plugInDialogDisplay;
  testhost::TestHost host(&PluginMainImpl, config);
  host.SetImage(Picture());
  BenchWindow window;
  bool opened = false;
  SetHeadlessDialogUser(&window, [&](Globals& g) {
    opened = true;
    if (zoom == Zoom::Full) DialogCommand(g, ctl::kZoomFull, kNotifyClick);
    window.Pump(g);
    const std::int32_t value = Dialog(g).controlValues[kSlider];
    const std::int32_t other = value > LookupControl(kSlider).minimum ? value - 1 : value + 1;
    bool forth = true;
    for (auto _ : state) {
      window.DragSlider(g, forth ? value : other, forth ? other : value);
      forth = !forth;
      state.PauseTiming();
      host.ClearLog();  // what the host recorded of the drawing
      state.ResumeTiming();
    }
    state.counters["preview_pixels"] = double(g.workWidth) * g.workHeight;
    // Cancel: the whole picture is not rendered.
    DialogCommand(g, ctl::kCancel, kNotifyClick);
  });
  host.RunFilter();
  SetHeadlessDialogUser(nullptr, nullptr);
  if (!opened) state.SkipWithError("the run showed no dialog");
}

void PreviewAtFitFactor(benchmark::State& s) { SliderToPreview(s, Zoom::Fit, ps::FourCC("TEST")); }
void PreviewAtFullSize(benchmark::State& s) { SliderToPreview(s, Zoom::Full, ps::FourCC("TEST")); }
void PreviewAtFitFactorPhotoshop(benchmark::State& s) {
  SliderToPreview(s, Zoom::Fit, ps::FourCC("8BIM"));
}
void PreviewAtFullSizePhotoshop(benchmark::State& s) {
  SliderToPreview(s, Zoom::Full, ps::FourCC("8BIM"));
}

BENCHMARK(PreviewAtFitFactor)->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewAtFullSize)->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewAtFitFactorPhotoshop)->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewAtFullSizePhotoshop)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stellane
