// `stellane psd` and `stellane html`: the dialog's PSD export and presets
// page without the dialog. The export runs in this process on the plug-in's
// own core, with a filter record made for the job instead of a host's.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/HtmlPages.h"
#include "export/PsdExport.h"
#include "params/SettingsFile.h"
#include "render/CrtRandom.h"
#include "render/RenderContext.h"
#include "stellane/CliError.h"
#include "stellane/Commands.h"
#include "stellane/DemoPicture.h"
#include "stellane/ImageFiles.h"
#include "stellane/OutputFile.h"
#include "stellane/Parameters.h"
#include "stellane/Platform.h"
#include "stellane/PsdOverPhoto.h"
#include "stellane/RenderOptions.h"

namespace cli {

const char* const kPsdHelp =
    "Usage: stellane psd OUT.psd [INPUT] [options]\n"
    "\n"
    "Renders the effect as a layered PSD file. With INPUT: the picture as the\n"
    "layer \"Background\", the effect above it as \"layer 1\" in the blend mode\n"
    "of the glue mode (or, for glue modes the PSD format lacks, the effect\n"
    "glued onto the picture, in normal mode), and the merged picture that\n"
    "`stellane render` gives. Without INPUT: one layer \"layer 1\" with\n"
    "transparency and the merged picture over a checkerboard. The size is the\n"
    "input image's (or the demo picture's, 960 x 600), the depth the input's.\n"
    "\n"
    "Options:\n"
    "  --size WxH            the picture's size, 1..30000 each way\n"
    "  --depth 8|16|32       8-bit, 16-bit or float channels\n"
    "  --settings FILE.q9r   start from the defaults plus this settings file\n"
    "  --set NAME=VALUE      one parameter (as for render); repeatable\n"
    "  --glue MODE           the glue mode by name or number\n";

const char* const kHtmlHelp =
    "Usage: stellane html presets FOLDER OUT.html\n"
    "\n"
    "Writes a web page of every settings file (.q9r) in FOLDER with its\n"
    "thumbnail, five a row; the pictures go into \"web_images\" beside the page.\n";

namespace {

struct PsdOptions {
  std::string output;
  std::string input;
  int width = 0, height = 0;  // 0: from the input
  int depth = 0;
  std::optional<std::uint32_t> seed;  // else the clock's, as in the dialog
  stellane::RenderParams params{};
};

void ParseSize(const std::string& text, int& width, int& height) {
  char* end = nullptr;
  errno = 0;
  const long w = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || (*end != 'x' && *end != 'X') || errno) {
    UsageError("--size expects WxH, got \"" + text + "\"");
  }
  const char* rest = end + 1;
  const long h = std::strtol(rest, &end, 10);
  if (end == rest || *end != '\0' || errno || w < 1 || h < 1 || w > 1000000 || h > 1000000) {
    UsageError("--size expects WxH with whole numbers from 1, got \"" + text + "\"");
  }
  width = int(w);
  height = int(h);
}

PsdOptions ParsePsdOptions(const Arguments& args) {
  PsdOptions o;
  stellane::InitNewRenderParams(o.params);
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) UsageError(arg + " needs a value");
      return args[++i];
    };
    if (arg == "--size") {
      ParseSize(value(), o.width, o.height);
    } else if (arg == "--depth") {
      const std::string d = value();
      if (d != "8" && d != "16" && d != "32") UsageError("--depth expects 8, 16 or 32");
      o.depth = std::atoi(d.c_str());
    } else if (arg == "--seed") {
      o.seed = ParseSeed(value());
    } else if (arg == "--settings") {
      const std::string path = value();
      const stellane::SettingsReadResult read = stellane::ReadSettingsFile(
          path.c_str(), stellane::SettingsReadMode::Values, o.params, nullptr);
      if (read.status != 0) Fail("cannot open " + path + ": " + std::strerror(errno));
      if (read.version == 0) Fail(path + ": not a Stellane settings file");
    } else if (arg == "--set") {
      ApplySetting(value(), o.params);
    } else if (arg == "--glue") {
      ApplyGlue(value(), o.params);
    } else if (arg.size() > 1 && arg[0] == '-') {
      UsageError("unknown option " + arg + " (see stellane psd --help)");
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty() || positional.size() > 2) UsageError("psd expects OUT.psd [INPUT]");
  o.output = positional[0];
  if (positional.size() == 2) o.input = positional[1];
  return o;
}

std::string ExportMessage(std::int16_t status, const std::string& path) {
  switch (status) {
    case stellane::kExportTooLarge:
      return "a PSD file holds at most 30000 pixels each way";
    case stellane::kExportNoImage:
      return "not enough memory for the picture";
    case stellane::kExportFileNotCreated:
      return "cannot create " + path + SystemReason();
    case stellane::kExportFileNotWritten:
      return "could not write all of " + path + SystemReason();
    default:
      return "the export failed (status " + std::to_string(status) + ")";
  }
}

}  // namespace

int PsdCommand(const Arguments& args) {
  PsdOptions o = ParsePsdOptions(args);
  int width = kDemoWidth, height = kDemoHeight, depth = 8;
  testhost::Image photo;
  if (!o.input.empty()) {
    photo = ReadImageFile(o.input);
    width = photo.width;
    height = photo.height;
    depth = photo.depth;
  }
  if (o.width > 0 && !o.input.empty()) UsageError("--size is the input's with an INPUT");
  if (o.width > 0) {
    width = o.width;
    height = o.height;
  }
  if (o.depth > 0) depth = o.depth;

  // The job's size travels as the custom output size, so that sizes the
  // host's 16-bit rectangles cannot hold are refused by the export itself.
  o.params.outputMode = 6;
  o.params.customWidth = width;
  o.params.customHeight = height;
  o.params.renderTarget = 0;

  // The run the export renders with: context and row ring from the heap.
  auto context = std::make_unique<stellane::RenderContext>();
  stellane::MemoryBlock ring;
  stellane::ExportRun run{};
  run.job = stellane::HeapRenderJob(o.params, *context, ring, width, height);
  run.job.destination.kind = depth == 8    ? stellane::ImageKind::k8
                             : depth == 16 ? stellane::ImageKind::k16
                                           : stellane::ImageKind::kFloat;
  run.imageWidth = width;
  run.imageHeight = height;
  const auto starSeed = o.seed ? *o.seed : static_cast<std::uint32_t>(std::time(nullptr));
  stellane::CrtSrand(starSeed);
  // The export writes "<file>.part" and renames it when complete.
  const std::string destination = OutputDestination(o.output);
  RememberTemporary(destination + ".part");
  errno = 0;
  const std::int16_t status = o.input.empty()
                                  ? stellane::ExportPsd(run, destination.c_str(), nullptr)
                                  : ExportPsdWithPhoto(run, destination, photo,
                                                       ReadImageMetadata(o.input), depth, starSeed);
  ForgetTemporary(destination + ".part");
  stellane::ReleaseBlock(run.job.blocks, ring);
  if (status != 0) Fail(ExportMessage(status, o.output));
  return kExitOk;
}

int HtmlCommand(const Arguments& args) {
  std::vector<std::string> positional;
  for (const std::string& arg : args) {
    if (arg.size() > 1 && arg[0] == '-') UsageError("unknown option " + arg);
    positional.push_back(arg);
  }
  if (positional.size() != 3 || positional[0] != "presets") {
    UsageError("html expects: presets FOLDER OUT.html");
  }
  const std::string& folder = positional[1];
  const std::string& page = positional[2];
  // The page and its pictures are written as "<file>.part" and renamed
  // together when all are complete. The pictures' part files are the
  // writer's own, so a signal only sets the flag here, and the writer
  // removes them all when it sees it.
  const std::string destination = OutputDestination(page);
  errno = 0;
  const std::int16_t status = stellane::WritePresetsPage(folder.c_str(), destination.c_str(), [] {
    RaiseTestSignalWhileWriting();
    return InterruptRequested();
  });
  switch (status) {
    case 0:
      return kExitOk;
    case stellane::kPageCancelled:
      throw CliError{"cancelled; nothing written", InterruptExitCode()};
    case stellane::kFolderNotRead:
      Fail("cannot list the folder " + folder + SystemReason());
    case stellane::kPageNotCreated:
      Fail("cannot create " + page + SystemReason());
    default:
      Fail("could not write all of " + page + SystemReason());
  }
}

}  // namespace cli
