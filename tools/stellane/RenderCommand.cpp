// `stellane render`: one filter run of the plug-in module over an image file
// (or, asked for with --demo, the demo picture), written to another file.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "params/FilePaths.h"
#include "params/SettingsFile.h"
#include "stellane/CliError.h"
#include "stellane/Commands.h"
#include "stellane/DemoPicture.h"
#include "stellane/DescriptorText.h"
#include "stellane/FilterRun.h"
#include "stellane/ImageFiles.h"
#include "stellane/OutputFile.h"
#include "stellane/Parameters.h"
#include "stellane/Platform.h"
#include "stellane/RenderOptions.h"
#include "stellane/SettingsHandOver.h"
#include "stellane/SettingsThumbnail.h"
#include "testhost/PluginModule.h"
#include "testhost/TestHost.h"

namespace cli {

const char* const kRenderHelp =
    "Usage: stellane render INPUT OUTPUT [options]\n"
    "       stellane render --demo OUTPUT [options]\n"
    "\n"
    "Runs the Stellane plug-in over INPUT (PNG, JPEG or TIFF), or with --demo\n"
    "over a built-in demo picture, and writes OUTPUT, whose format follows its\n"
    "extension (.png, .jpg, .jpeg, .tif, .tiff).\n"
    "\n"
    "Options:\n"
    "  --set NAME=VALUE      set a parameter (repeatable). Whole numbers for\n"
    "                        paramA, paramB, density, brightness, nebulaScale,\n"
    "                        texture, contrast, starScale, fibrousness, depth,\n"
    "                        opacity, color, randomSeed; #rrggbb for colorA1,\n"
    "                        colorA2, colorB1, colorB2\n"
    "  --glue NAME|NUMBER    glue mode, e.g. \"screen\", \"procedural +\" or 10\n"
    "  --settings FILE.q9r   start from the defaults plus this settings file\n"
    "  --save-settings FILE  save the run's parameters as a settings file\n"
    "  --play FILE           play back a recorded descriptor file\n"
    "  --record FILE         write the descriptor the plug-in recorded\n"
    "  --mask FILE           grey image of the same size: the selection\n"
    "  --rect X,Y,W,H        filter only this rectangle\n"
    "  --keep-alpha          the plug-in leaves the transparency plane alone\n"
    "                        (without it, the rendered layer's alpha is written)\n"
    "  --demo                filter the built-in demo picture (no INPUT)\n"
    "  --dialog              show the plug-in's dialog first\n"
    "  --smallest-png        compress a PNG output as far as it goes (much\n"
    "                        slower; by default a fast setting, a few percent\n"
    "                        larger)\n"
    "  --plugin PATH         the plug-in module (default: the one installed\n"
    "                        beside this program)\n"
    "  -q, --quiet           no progress bar\n"
    "\n"
    "Later parameter sources override earlier ones: the plug-in's defaults,\n"
    "--settings, --play, then each --set and --glue in order. A colour #rrggbb\n"
    "is stored as the dialog's colour chooser stores it.\n";

namespace {

// A descriptor file is a few hundred bytes; a megabyte is plenty, and the
// cap keeps a device such as /dev/zero from filling the memory.
constexpr std::size_t kMaxDescriptorBytes = 1 << 20;

std::string ReadDescriptorFile(const std::string& path) {
  std::ifstream in(stellane::PathFromUtf8(path), std::ios::binary);
  if (!in) Fail("cannot open " + path + ": " + std::strerror(errno));
  std::string text(kMaxDescriptorBytes + 1, '\0');
  in.read(text.data(), std::streamsize(text.size()));
  if (in.bad()) Fail("cannot read " + path + SystemReason());
  text.resize(std::size_t(in.gcount()));
  if (text.size() > kMaxDescriptorBytes)
    Fail(path + ": too large for a descriptor file (at most " +
         std::to_string(kMaxDescriptorBytes >> 20) + " MB)");
  return text;
}

void WriteWholeFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) Fail("cannot write " + path + SystemReason());
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) Fail("cannot write " + path + SystemReason());
}

// The script of what the user gave: a descriptor file's items as they are,
// then each --set and --glue replacing the items of its keys. The plug-in
// takes its own defaults for every key the script lacks.
testhost::Descriptor UserScript(const RenderOptions& options) {
  testhost::Descriptor script;
  if (!options.play.empty())
    script = ParseDescriptorText(ReadDescriptorFile(options.play), options.play);
  for (const ParameterStep& step : options.steps)
    PutItems(step.isGlue ? testhost::Descriptor{GlueItem(step.value)} : SettingItems(step.value),
             script);
  return script;
}

// The run's values as the plug-in stores them: its defaults, the settings
// file, the descriptor file, each --set and --glue.
stellane::RenderParams BuildParams(const RenderOptions& options) {
  stellane::RenderParams params{};
  stellane::InitNewRenderParams(params);
  if (!options.settings.empty()) {
    const stellane::SettingsReadResult read = stellane::ReadSettingsFile(
        options.settings.c_str(), stellane::SettingsReadMode::Values, params, nullptr);
    if (read.status != 0) Fail("cannot open " + options.settings + ": " + std::strerror(errno));
    if (read.version == 0) Fail(options.settings + ": not a Stellane settings file");
  }
  if (!options.play.empty())
    ApplyDescriptor(ParseDescriptorText(ReadDescriptorFile(options.play), options.play), params);
  for (const ParameterStep& step : options.steps) {
    if (step.isGlue)
      ApplyGlue(step.value, params);
    else
      ApplySetting(step.value, params);
  }
  return params;
}

testhost::Selection ReadMask(const std::string& path, const testhost::Image& image) {
  const testhost::Image mask = ReadImageFile(path);
  if (mask.colorPlanes != 1) Fail(path + ": a mask must be a grey image");
  if (mask.width != image.width || mask.height != image.height)
    Fail(path + ": the mask is " + std::to_string(mask.width) + " x " +
         std::to_string(mask.height) + ", the image " + std::to_string(image.width) + " x " +
         std::to_string(image.height));
  testhost::Selection selection;
  selection.width = mask.width;
  selection.height = mask.height;
  selection.coverage.resize(std::size_t(mask.width) * mask.height);
  const double scale = 255.0 / mask.MaxValue();
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) {
      const double v = testhost::ClampSample(mask.Get(x, y, 0) * scale + 0.5, 255.0);
      selection.coverage[std::size_t(y) * mask.width + x] = std::uint8_t(v);
    }
  return selection;
}

// The host's side of a selection, as an image editor does it: the filtered
// pixel where the mask is full, the source where it is zero, and in between
// a mix by coverage. Every plane is mixed, the transparency plane too.
void BlendBySelection(const testhost::Image& source, const testhost::Selection& selection,
                      testhost::Image& output) {
  for (int y = 0; y < output.height; ++y)
    for (int x = 0; x < output.width; ++x) {
      const int coverage = selection.coverage[std::size_t(y) * selection.width + x];
      if (coverage == 255) continue;
      for (int p = 0; p < output.Planes(); ++p) {
        const double from = source.Get(x, y, p), to = output.Get(x, y, p);
        output.Set(x, y, p, coverage == 0 ? from : from + (to - from) * coverage / 255.0);
      }
    }
}

// Whether the user asked for a glue mode: --glue, or one other than the
// default from a settings or descriptor file.
bool GlueChosen(const RenderOptions& options, const stellane::RenderParams& params) {
  stellane::RenderParams defaults{};
  stellane::InitNewRenderParams(defaults);
  if (params.glue != defaults.glue) return true;
  for (const ParameterStep& step : options.steps)
    if (step.isGlue) return true;
  return false;
}

// The module's second export fixes the seed its runs draw their stars from.
void FixStarSeed(const testhost::PluginModule& module, std::uint32_t seed) {
  using FixStarSeedProc = void (*)(std::uint32_t);
  const auto fix = reinterpret_cast<FixStarSeedProc>(module.Symbol("StellaneFixStarSeed"));
  if (!fix) Fail("--seed: the plug-in module has no StellaneFixStarSeed export (an older module?)");
  fix(seed);
}

std::string ResultMessage(std::int16_t result) {
  switch (result) {
    case -108:
      return "the plug-in ran out of memory";
    case 1:
      return "the plug-in refused the image";
    default:
      return "the plug-in failed (result " + std::to_string(result) + ")";
  }
}

}  // namespace

int RenderCommand(const Arguments& args) {
  const RenderOptions options = ParseRenderOptions(args);
  ImageFileKind outputKind;
  if (!ImageFileKindFromName(options.output, outputKind))
    UsageError(options.output + ": unknown output format (use .png, .jpg, .jpeg, .tif or .tiff)");

  const stellane::RenderParams params = BuildParams(options);
  testhost::Image image = options.demo ? DemoPicture() : ReadImageFile(options.input);
  if (image.depth == 32 && GlueChosen(options, params))
    std::fputs(
        "stellane: note: float pictures take no glue mode; the rendered layer replaces "
        "the picture\n",
        stderr);
  testhost::Selection selection;
  if (!options.mask.empty()) selection = ReadMask(options.mask, image);
  if (options.rect && (options.rect->right > image.width || options.rect->bottom > image.height))
    Fail("--rect reaches outside the " + std::to_string(image.width) + " x " +
         std::to_string(image.height) + " image");

  const std::string pluginPath =
      options.plugin.empty() ? ExecutableFolder() + DefaultPluginFileName() : options.plugin;
  std::string loadError;
  auto module = testhost::PluginModule::Load(pluginPath, &loadError);
  if (!module) Fail("cannot load the plug-in " + pluginPath + ": " + loadError);
  if (options.seed) FixStarSeed(*module, *options.seed);

  // A settings file reaches the plug-in whole (with what the command line
  // adds to it); otherwise only what the user gave, as a script.
  std::optional<SettingsHandOver> handOver;
  if (!options.settings.empty()) handOver.emplace(params);

  // The selection is applied by the host, after the run, against the source.
  const testhost::Image source = selection.Empty() ? testhost::Image{} : image;
  testhost::Image output;
  std::optional<testhost::Descriptor> recorded;
  {
    testhost::HostConfig config = testhost::PhotoshopHost();
    if (!handOver) config.descriptorToPlay = UserScript(options);
    config.playInfo = options.dialog ? ps::plugInDialogDisplay : ps::plugInDialogDontDisplay;
    // The test host's colour services answer every chooser with a fixed
    // colour; a user at the dialog picks chip colours in the system chooser.
    if (options.dialog) config.offerColorServices = false;
    config.filterRect = options.rect;
    config.protectedTransparency = options.keepAlpha;
    testhost::TestHost host(module->Entry(), config);
    try {
      host.SetImage(std::move(image));
    } catch (const std::invalid_argument& e) {
      Fail(std::string("the image can't be handed to the plug-in: ") + e.what());
    }
    if (!selection.Empty()) host.SetSelection(selection);

    const bool showProgress = !options.quiet && StderrIsTerminal();
    const FilterRunResult run = RunFilterOnce(host, options.dialog, showProgress);
    if (run.cancelled) throw CliError{"cancelled; nothing written", InterruptExitCode()};
    if (run.result != 0) Fail(ResultMessage(run.result));
    output = std::move(host.GetImage());
    if (!selection.Empty()) BlendBySelection(source, selection, output);
    recorded = host.RecordedDescriptor();
  }
  handOver.reset();

  // Every output is complete before any is put in place: a record or a
  // settings file that fails leaves the image output untouched too.
  if (!options.record.empty() && !recorded)
    Fail("the plug-in recorded no descriptor; " + options.record + " not written");
  StagedOutputs outputs;
  outputs.Write(options.output, [&](const std::string& temporary) {
    WriteImageFile(output, temporary, outputKind, options.pngCompression);
  });
  if (!options.record.empty()) {
    const std::string text = FormatDescriptorText(*recorded);
    outputs.Write(options.record,
                  [&](const std::string& temporary) { WriteWholeFile(temporary, text); });
  }
  if (!options.saveSettings.empty()) {
    outputs.Write(options.saveSettings, [&](const std::string& temporary) {
      WriteSettingsWithThumbnail(temporary, params, output);
    });
  }
  outputs.Commit();
  return kExitOk;
}

}  // namespace cli
