#include "stellane/RenderOptions.h"

#include <cerrno>
#include <cstdlib>

#include "stellane/CliError.h"

namespace cli {

namespace {

// "X,Y,W,H", all whole numbers, width and height at least 1.
testhost::Rect ParseRect(const std::string& text) {
  long v[4];
  const char* p = text.c_str();
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    errno = 0;
    v[i] = std::strtol(p, &end, 10);
    const char expected = i < 3 ? ',' : '\0';
    if (end == p || errno != 0 || *end != expected || v[i] < 0 || v[i] > 30000)
      UsageError("--rect expects X,Y,W,H (whole numbers from 0 to 30000), got \"" + text + "\"");
    p = end + 1;
  }
  if (v[2] < 1 || v[3] < 1) UsageError("--rect: width and height must be at least 1");
  testhost::Rect rect;
  rect.left = int(v[0]);
  rect.top = int(v[1]);
  rect.right = int(v[0] + v[2]);
  rect.bottom = int(v[1] + v[3]);
  return rect;
}

// A whole number in first..last, for `option`.
int ParseWholeNumber(const std::string& option, const std::string& text, int first, int last) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || v < first || v > last)
    UsageError(option + " expects a whole number from " + std::to_string(first) + " to " +
               std::to_string(last) + ", got \"" + text + "\"");
  return int(v);
}

void SortOutFiles(RenderOptions& options) {
  const std::vector<std::string>& files = options.files;
  if (!options.batchOutput.empty()) {
    options.input = options.batchInput;
    options.output = options.batchOutput;
    options.outDir.clear();
    return;
  }
  if (!options.outDir.empty()) {
    if (options.demo) UsageError("render: --demo takes no --out-dir; give OUTPUT");
    if (files.empty()) UsageError("render: --out-dir needs at least one INPUT");
    if (!options.record.empty() || !options.saveSettings.empty())
      UsageError("render: --record and --save-settings take one INPUT, not --out-dir");
    return;
  }
  if (!options.format.empty() || options.jobs != 1)
    UsageError("render: --format and -j go with --out-dir");
  if (files.empty()) UsageError("render: missing OUTPUT (see stellane render --help)");
  if (files.size() > 2)
    UsageError("render: too many file names: " + files[2] + " (several INPUTs need --out-dir DIR)");
  if (options.demo && files.size() == 2)
    UsageError("render: --demo renders the built-in picture and takes no INPUT; got " + files[0]);
  // One name alone is never taken as the output: it is most often the
  // picture the user meant to filter, which the demo render would replace.
  if (!options.demo && files.size() == 1)
    UsageError("render: missing OUTPUT after " + files[0] +
               " (stellane render INPUT OUTPUT; --demo OUTPUT renders the built-in demo picture)");
  options.output = files.back();
  if (files.size() == 2) options.input = files[0];
}

}  // namespace

void AddRenderOptions(CLI::App& command, RenderOptions& o) {
  command.add_option("files", o.files, "INPUT OUTPUT, OUTPUT with --demo, INPUT... with --out-dir")
      ->type_name("FILE");
  AddParameterOptions(command, o.parameters, true);
  command
      .add_option("--save-settings", o.saveSettings, "save the run's parameters as a settings file")
      ->type_name("FILE");
  command.add_option("--record", o.record, "write the descriptor the plug-in recorded")
      ->type_name("FILE");
  command.add_option("--mask", o.mask, "grey image of the same size: the selection")
      ->type_name("FILE");
  command.add_option("--rect", o.rectText, "filter only this rectangle, X,Y,W,H")
      ->type_name("X,Y,W,H");
  command.add_flag("--replace-alpha", o.replaceAlpha,
                   "write the rendered layer's transparency (by default the picture's own "
                   "transparency is kept: a cut-out stays a cut-out)");
  command.add_flag("--keep-alpha", o.keepAlpha, "keep the picture's transparency (the default)");
  command
      .add_option("--mix", o.mixText,
                  "fade the result towards the original: the effect's share in percent "
                  "(0..100, default 100)")
      ->type_name("PERCENT");
  command.add_option("--quality", o.qualityText, "JPEG output quality (1..100, default 92)")
      ->type_name("N");
  command.add_flag("--demo", o.demo, "filter the built-in demo picture (no INPUT)");
  command.add_flag("--dialog", o.dialog, "show the plug-in's dialog first");
  command.add_flag("--smallest-png", o.smallestPng,
                   "compress a PNG output as far as it goes (much slower; by default a fast "
                   "setting, a few percent larger)");
  command
      .add_option("--out-dir", o.outDir,
                  "filter every INPUT (a folder: its images) into this folder, keeping names")
      ->type_name("DIR");
  command
      .add_option("--format", o.format,
                  "with --out-dir: write this format (png, jpg, tif) instead of each input's")
      ->type_name("EXT");
  command.add_option("-j,--jobs", o.jobs, "with --out-dir: files filtered at once (1..64)")
      ->type_name("N");
  command
      .add_option("--plugin", o.plugin,
                  "the plug-in module (default: the one installed beside this program)")
      ->type_name("PATH");
  command.add_option("--batch-input", o.batchInput)->group("");
  command.add_option("--batch-output", o.batchOutput)->group("");
}

void FinishRenderOptions(const CLI::App& command, RenderOptions& o) {
  FinishParameterOptions(command, o.parameters);
  if (!o.rectText.empty()) o.rect = ParseRect(o.rectText);
  if (o.smallestPng) o.pngCompression = PngCompression::Smallest;
  if (o.replaceAlpha) o.keepAlpha = false;
  if (!o.mixText.empty()) o.mixPercent = ParseWholeNumber("--mix", o.mixText, 0, 100);
  if (!o.qualityText.empty()) o.jpegQuality = ParseWholeNumber("--quality", o.qualityText, 1, 100);
  if (o.jobs < 1 || o.jobs > 64)
    UsageError("-j expects a number of files at once from 1 to 64, got " + std::to_string(o.jobs));
  if (!o.format.empty()) {
    ImageFileKind kind;
    if (!ImageFileKindFromName("x." + o.format, kind))
      UsageError("--format expects png, jpg, jpeg, tif or tiff, got \"" + o.format + "\"");
  }
  SortOutFiles(o);
}

}  // namespace cli
