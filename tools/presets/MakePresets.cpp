// Builds the preset library from its source table: one settings file per
// preset, "<OUT-DIR>/<Name>.q9r", whose thumbnail is the preset rendered over
// the middle of the demo picture. With --page it also writes the library's
// HTML page (name, description and a JPEG thumbnail of each preset).
//
// Usage: make_presets TABLE OUT-DIR [--page PAGE.html IMAGE-DIR]
//
// The plug-in runs in this process, as an editor drives it, with the stars
// drawn from a fixed seed (as `stellane render --seed`), so every build makes
// the same files.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/Dispatch.h"
#include "host/PluginEntry.h"
#include "params/FilePaths.h"
#include "params/RenderParams.h"
#include "presets/PresetTable.h"
#include "stellane/CliError.h"
#include "stellane/DemoPicture.h"
#include "stellane/FilterRun.h"
#include "stellane/ImageFiles.h"
#include "stellane/Parameters.h"
#include "stellane/SettingsThumbnail.h"
#include "testhost/TestHost.h"

namespace fs = std::filesystem;

namespace {

constexpr int kThumbnailSide = 128;
constexpr std::uint32_t kStarSeed = 2101;

// `source`'s region (left, top, side) averaged into a side x side picture.
testhost::Image AverageSquare(const testhost::Image& source, int left, int top, int from, int to) {
  testhost::Image out = testhost::Image::Make(to, to, 3, 8);
  for (int y = 0; y < to; ++y)
    for (int x = 0; x < to; ++x) {
      const int x0 = left + x * from / to, x1 = left + (x + 1) * from / to;
      const int y0 = top + y * from / to, y1 = top + (y + 1) * from / to;
      for (int c = 0; c < 3; ++c) {
        double sum = 0;
        for (int sy = y0; sy < y1; ++sy)
          for (int sx = x0; sx < x1; ++sx) sum += source.Get(sx, sy, c);
        out.Set(x, y, c, sum / ((x1 - x0) * (y1 - y0)));
      }
    }
  return out;
}

// The preset's values as the command line hands them to the plug-in.
testhost::Descriptor PresetDescriptor(const presets::Preset& preset) {
  testhost::Descriptor descriptor;
  for (const auto& [key, value] : preset.values)
    cli::PutItems(key == "glue" ? testhost::Descriptor{cli::GlueItem(value)}
                                : cli::SettingItems(key + "=" + value),
                  descriptor);
  return descriptor;
}

// The same stored as the plug-in stores them over its defaults.
stellane::RenderParams PresetParams(const testhost::Descriptor& descriptor) {
  stellane::RenderParams params{};
  stellane::InitNewRenderParams(params);
  cli::ApplyDescriptor(descriptor, params);
  return params;
}

testhost::Image Render(const testhost::Image& source, const testhost::Descriptor& settings) {
  testhost::TestHost host(&stellane::PluginMainImpl);
  host.SetImage(source);
  host.Config().descriptorToPlay = settings;
  const cli::FilterRunResult run = cli::RunFilterOnce(host, false, false);
  if (run.result != 0) cli::Fail("the plug-in failed with status " + std::to_string(run.result));
  return host.GetImage();
}

std::string HtmlText(const std::string& text) {
  std::string out;
  for (char c : text) {
    const char* entity = c == '&'   ? "&amp;"
                         : c == '<' ? "&lt;"
                         : c == '>' ? "&gt;"
                         : c == '"' ? "&quot;"
                                    : nullptr;
    if (entity)
      out += entity;
    else
      out += c;
  }
  return out;
}

struct PageEntry {
  const presets::Preset* preset;
  std::string image;  // relative to the page
};

void WritePage(const std::string& path, const std::vector<PageEntry>& entries) {
  std::ofstream page(path, std::ios::binary);
  page << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
          "<title>Stellane presets</title>\n<style>\n"
          "body { font-family: sans-serif; background: #15171f; color: #e6e6ea; margin: 2em; }\n"
          "main { display: flex; flex-wrap: wrap; gap: 1.5em; }\n"
          "figure { width: 200px; margin: 0; }\n"
          "img { display: block; width: 128px; height: 128px; border: 1px solid #444; }\n"
          "figcaption b { display: block; margin: .5em 0 .2em; }\n"
          "figcaption { font-size: 90%; color: #b8b8c4; }\n"
          "</style>\n</head>\n<body>\n<h1>Stellane presets</h1>\n"
          "<p>The presets that come with Stellane, each rendered over the same picture. "
          "In the dialog, <b>Load</b> opens their folder, <code>presets</code> beside the "
          "plug-in; on the command line, <code>stellane render IN OUT --preset "
          "\"NAME\"</code> starts from one (<code>stellane presets</code> lists "
          "them).</p>\n<main>\n";
  for (const PageEntry& e : entries)
    page << "<figure><img src=\"" << HtmlText(e.image) << "\" alt=\"" << HtmlText(e.preset->name)
         << "\" width=\"128\" height=\"128\"><figcaption><b>" << HtmlText(e.preset->name) << "</b>"
         << HtmlText(e.preset->description) << "</figcaption></figure>\n";
  page << "</main>\n</body>\n</html>\n";
  if (!page.flush()) cli::Fail("cannot write " + path);
}

int Run(const std::vector<std::string>& args) {
  const bool withPage = args.size() == 5 && args[2] == "--page";
  if (args.size() != 2 && !withPage)
    cli::UsageError("usage: make_presets TABLE OUT-DIR [--page PAGE.html IMAGE-DIR]");
  const std::vector<presets::Preset> table = presets::ReadPresetTable(args[0]);
  stellane::FixStarSeed(kStarSeed);
  const fs::path out = stellane::PathFromUtf8(args[1]);
  fs::create_directories(out);
  // A renamed or removed preset leaves no file behind.
  for (const fs::directory_entry& entry : fs::directory_iterator(out))
    if (entry.path().extension() == ".q9r") fs::remove(entry.path());

  // The middle square of the demo picture at its own size, so that stars and
  // clouds keep the scale they have on a photograph; averaged down after.
  const testhost::Image demo = cli::DemoPicture();
  const int side = std::min(demo.width, demo.height);
  const testhost::Image source =
      AverageSquare(demo, (demo.width - side) / 2, (demo.height - side) / 2, side, side);
  std::vector<PageEntry> page;
  for (const presets::Preset& preset : table) {
    const testhost::Descriptor descriptor = PresetDescriptor(preset);
    const testhost::Image rendered = Render(source, descriptor);
    const testhost::Image thumbnail = AverageSquare(rendered, 0, 0, side, kThumbnailSide);
    cli::WriteSettingsWithThumbnail(
        stellane::Utf8FromPath(out / stellane::PathFromUtf8(preset.name + ".q9r")),
        PresetParams(descriptor), thumbnail);
    if (!withPage) continue;
    const fs::path images = stellane::PathFromUtf8(args[4]);
    fs::create_directories(images);
    const fs::path image = images / (presets::PictureName(preset.name) + ".jpg");
    cli::WriteJpeg(thumbnail, stellane::Utf8FromPath(image));
    const fs::path pageFolder = fs::absolute(stellane::PathFromUtf8(args[3])).parent_path();
    page.push_back({&preset, stellane::Utf8FromPath(fs::relative(image, pageFolder))});
  }
  if (withPage) WritePage(args[3], page);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const cli::CliError& error) {
    std::fprintf(stderr, "make_presets: %s\n", error.message.c_str());
    return error.exitCode;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_presets: %s\n", error.what());
    return 1;
  }
}
