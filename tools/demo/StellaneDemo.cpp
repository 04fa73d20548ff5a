// A short demonstration of the plug-in: loads the built module the way an
// image editor does, runs one whole filter run over a generated picture
// through the test host, reports what happened and saves before and after
// images as binary PPM files.
//
// Usage: stellane_demo [module] [output-folder]
#include <chrono>
#include <cstdio>
#include <string>

#include "testhost/TestHost.h"

namespace {

testhost::Image DuskGradient(int width, int height) {
  testhost::Image image = testhost::Image::Make(width, height, 3, 8);
  for (int y = 0; y < height; ++y) {
    const double t = double(y) / (height - 1);
    for (int x = 0; x < width; ++x) {
      const double s = double(x) / (width - 1);
      image.Set(x, y, 0, 20 + 90 * t + 20 * s);
      image.Set(x, y, 1, 25 + 50 * t);
      image.Set(x, y, 2, 60 + 80 * t - 20 * s);
    }
  }
  return image;
}

bool WritePpm(const testhost::Image& image, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      for (int p = 0; p < 3; ++p) std::fputc(int(image.Get(x, y, p)), file);
  return std::fclose(file) == 0;
}

const char* SelectorName(int selector) {
  static const char* names[] = {"about", "parameters", "prepare", "start", "continue", "finish"};
  return selector >= 0 && selector <= 5 ? names[selector] : "unknown";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string modulePath = argc > 1 ? argv[1] : STELLANE_PLUGIN_PATH;
  const std::string folder = argc > 2 ? std::string(argv[2]) + "/" : std::string();

  std::string error;
  auto module = testhost::PluginModule::Load(modulePath, &error);
  if (!module) {
    std::printf("Could not load %s: %s\n", modulePath.c_str(), error.c_str());
    return 1;
  }
  std::printf("Loaded %s; its PluginMain is at %p.\n", modulePath.c_str(),
              reinterpret_cast<void*>(module->Entry()));

  const int width = 320, height = 200;
  testhost::RunReport run;
  testhost::Image before, after;
  int changed = 0;
  {
    testhost::TestHost host(module->Entry(), testhost::PhotoshopHost());
    host.SetImage(DuskGradient(width, height));
    before = host.GetImage();
    const auto start = std::chrono::steady_clock::now();
    run = host.RunFilter();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    after = host.GetImage();

    std::printf("Filtered a %d x %d RGB 8-bit picture in %.1f ms.\n", width, height, ms);
    std::printf("Selectors called:");
    int lastSelector = -1, repeats = 0;
    for (const auto& call : run.calls) {
      if (call.selector == lastSelector) {
        ++repeats;
        continue;
      }
      if (repeats > 0) std::printf(" x%d", repeats + 1);
      std::printf("%s %s (%d)", lastSelector < 0 ? "" : ",", SelectorName(call.selector),
                  call.result);
      lastSelector = call.selector;
      repeats = 0;
    }
    if (repeats > 0) std::printf(" x%d", repeats + 1);
    std::printf("\n");
    std::printf("Continue calls: %d; rows handed to the plug-in: %d; progress reports: %zu.\n",
                run.continueCalls, run.rowsDelivered, host.Log().progress.size());
    for (const auto& message : host.Log().protocolErrors)
      std::printf("Host noticed: %s\n", message.c_str());
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int p = 0; p < 3; ++p)
          if (before.Get(x, y, p) != after.Get(x, y, p)) {
            ++changed;
            break;
          }
  }
  std::printf("Pixels changed by the filter: %d of %d.\n", changed, width * height);

  const bool saved =
      WritePpm(before, folder + "demo-before.ppm") && WritePpm(after, folder + "demo-after.ppm");
  if (saved)
    std::printf("Wrote %sdemo-before.ppm and %sdemo-after.ppm.\n", folder.c_str(), folder.c_str());

  if (run.result != 0) {
    std::printf("The run ended with result %d.\n", run.result);
    return 1;
  }
  std::printf("The run succeeded.\n");
  return saved ? 0 : 1;
}
