// `stellane render`: one filter run of the plug-in module over an image file
// (or, asked for with --demo, the demo picture), written to another file.
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "glue/GlueNames.h"
#include "params/FilePaths.h"
#include "params/SettingsFile.h"
#include "stellane/CliError.h"
#include "stellane/Commands.h"
#include "stellane/DemoPicture.h"
#include "stellane/DescriptorText.h"
#include "stellane/FilterRun.h"
#include "stellane/ImageFiles.h"
#include "stellane/ImageMetadata.h"
#include "stellane/OutputFile.h"
#include "stellane/Parameters.h"
#include "stellane/PhotoSteps.h"
#include "stellane/Platform.h"
#include "stellane/RenderBatch.h"
#include "stellane/RenderOptions.h"
#include "stellane/SettingsHandOver.h"
#include "stellane/SettingsThumbnail.h"
#include "testhost/PluginModule.h"
#include "testhost/TestHost.h"

namespace cli {

namespace {

const char* const kRenderFooter =
    "Later parameter sources override earlier ones: the plug-in's defaults,\n"
    "--preset or --settings, --play, then each --set and --glue in order. A\n"
    "colour #rrggbb is stored as the dialog's colour chooser stores it.\n"
    "\n"
    "OUTPUT's format follows its extension (.png, .jpg, .jpeg, .tif, .tiff).\n"
    "With --out-dir each INPUT (a folder: the images in it) is filtered into\n"
    "DIR under its own name; a file that fails is reported and the others go\n"
    "on (exit status 1 when any failed).\n";

void WriteWholeFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) Fail("cannot write " + path + SystemReason());
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) Fail("cannot write " + path + SystemReason());
}

testhost::Selection ReadMask(const std::string& path, const testhost::Image& image) {
  const testhost::Image mask = ReadImageFile(path);
  if (mask.colorPlanes != 1) UsageError(path + ": a mask must be a grey image");
  if (mask.width != image.width || mask.height != image.height)
    UsageError(path + ": the mask is " + std::to_string(mask.width) + " x " +
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

// The module's second export fixes the seed its runs draw their stars from.
void FixStarSeed(const testhost::PluginModule& module, std::uint32_t seed) {
  using FixStarSeedProc = void (*)(std::uint32_t);
  const auto fix = reinterpret_cast<FixStarSeedProc>(module.Symbol("StellaneFixStarSeed"));
  if (!fix) Fail("--seed: the plug-in module has no StellaneFixStarSeed export (an older module?)");
  fix(seed);
}

// "PNG, 16-bit RGB with alpha" and the like.
std::string FormatDescription(const testhost::Image& image, ImageFileKind kind) {
  const char* const kNames[] = {"PNG", "JPEG", "TIFF"};
  std::string text = std::string(kNames[int(kind)]) + ", ";
  text += image.depth == 32 ? "float" : std::to_string(image.depth) + "-bit";
  text += image.colorPlanes == 1 ? " grey" : " RGB";
  if (image.transparency) text += " with alpha";
  return text;
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

int RenderOne(const RenderOptions& options) {
  ImageFileKind outputKind;
  if (!ImageFileKindFromName(options.output, outputKind))
    UsageError(options.output + ": unknown output format (use .png, .jpg, .jpeg, .tif or .tiff)");

  const stellane::RenderParams params = BuildParams(options.parameters);
  testhost::Image image = options.demo ? DemoPicture() : ReadImageFile(options.input);
  // The profile, resolution, EXIF, XMP and comments go on to the output.
  const ImageMetadata metadata = options.demo ? ImageMetadata{} : ReadImageMetadata(options.input);
  // The original, for the host's steps after the run, and the picture the
  // plug-in gets: a float picture goes through a glue mode as a 16-bit copy.
  testhost::Image original, copy;
  const bool floatThroughGlue =
      image.depth == 32 && params.glue != std::int32_t(stellane::GlueMode::kNormal);
  if (floatThroughGlue || options.mixPercent < 100 || !options.mask.empty()) original = image;
  if (floatThroughGlue) {
    copy = SixteenBitCopyForGlue(original, stellane::GlueModeName(params.glue));
    image = copy;
  }
  testhost::Selection selection;
  if (!options.mask.empty()) selection = ReadMask(options.mask, image);
  if (options.rect && (options.rect->right > image.width || options.rect->bottom > image.height))
    UsageError("--rect " + options.rectText + " reaches outside the " +
               std::to_string(image.width) + " x " + std::to_string(image.height) +
               " image: X + W may be at most " + std::to_string(image.width) + ", Y + H at most " +
               std::to_string(image.height));

  const std::string pluginPath =
      options.plugin.empty() ? ExecutableFolder() + DefaultPluginFileName() : options.plugin;
  std::string loadError;
  auto module = testhost::PluginModule::Load(pluginPath, &loadError);
  if (!module)
    Fail("cannot load the plug-in " + pluginPath + ": " + loadError +
         (options.plugin.empty() ? std::string("; install ") + DefaultPluginFileName() +
                                       " beside stellane, or name the module with --plugin PATH"
                                 : std::string()));
  if (options.dialog && !PluginDialogAvailable())
    std::fputs(
        "stellane: note: --dialog: the plug-in shows its dialog only in the Windows build "
        "(stellane.exe); rendering without it\n",
        stderr);
  if (options.parameters.seed) FixStarSeed(*module, *options.parameters.seed);

  // A settings file reaches the plug-in whole (with what the command line
  // adds to it); otherwise only what the user gave, as a script.
  std::optional<SettingsHandOver> handOver;
  if (!options.parameters.settings.empty()) handOver.emplace(params);

  testhost::Image output;
  std::optional<testhost::Descriptor> recorded;
  const bool showProgress = !options.quiet && StderrIsTerminal();
  {
    testhost::HostConfig config = testhost::PhotoshopHost();
    if (!handOver) config.descriptorToPlay = UserScript(options.parameters);
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

    const FilterRunResult run = RunFilterOnce(host, options.dialog, showProgress);
    if (run.cancelled) throw CliError{"cancelled; nothing written", InterruptExitCode()};
    if (run.result != 0) Fail(ResultMessage(run.result));
    output = std::move(host.GetImage());
    if (floatThroughGlue) output = FloatResultOfCopy(original, copy, output);
    // The selection and the fade are applied by the host, after the run,
    // against the original.
    if (!selection.Empty()) BlendBySelection(original, selection, output);
    MixWithOriginal(original, output, options.mixPercent);
    recorded = host.RecordedDescriptor();
  }
  handOver.reset();

  // Every output is complete before any is put in place: a record or a
  // settings file that fails leaves the image output untouched too.
  if (!options.record.empty() && !recorded)
    Fail("the plug-in recorded no descriptor; " + options.record + " not written");
  if (showProgress) {
    std::fprintf(stderr, "Writing %s ...", options.output.c_str());
    std::fflush(stderr);
  }
  StagedOutputs outputs;
  outputs.Write(options.output, [&](const std::string& temporary) {
    WriteImageFile(output, temporary, outputKind, options.pngCompression, options.jpegQuality,
                   &metadata);
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
  if (showProgress) std::fputs("\r\033[K", stderr);
  if (!options.quiet)
    std::printf("wrote %s (%d x %d, %s)\n", options.output.c_str(), output.width, output.height,
                FormatDescription(output, outputKind).c_str());
  return kExitOk;
}

}  // namespace

CommandRun AddRenderCommand(CLI::App& root) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App* command =
      AddCommand(root, "render",
                 "Runs the Stellane plug-in over INPUT (PNG, JPEG or TIFF), or with "
                 "--demo over a built-in demo picture, and writes OUTPUT.",
                 options->quiet);
  AddRenderOptions(*command, *options);
  command->footer(
      "Parameters for --set NAME=VALUE, with the range of their sliders (a value\n"
      "outside it is used with a warning):\n" +
      SettableParamsHelp() + "\n" + kRenderFooter +
      "\nstellane glues lists the glue modes with what each does.\n");
  return [command, options] {
    FinishRenderOptions(*command, *options);
    return options->outDir.empty() ? RenderOne(*options) : RenderBatch(*options);
  };
}

}  // namespace cli
