// `stellane psd` and `stellane html`: the dialog's PSD export and presets
// page without the dialog. The export runs in this process on the plug-in's
// own core, with a filter record made for the job instead of a host's.
#include <cctype>
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
#include "params/FilePaths.h"
#include "params/SettingsFile.h"
#include "render/CrtRandom.h"
#include "render/RenderContext.h"
#include "stellane/CliError.h"
#include "stellane/Commands.h"
#include "stellane/DemoPicture.h"
#include "stellane/ImageFiles.h"
#include "stellane/OutputFile.h"
#include "stellane/ParameterOptions.h"
#include "stellane/Parameters.h"
#include "stellane/Platform.h"
#include "stellane/Presets.h"
#include "stellane/PsdOverPhoto.h"

namespace cli {

namespace {

struct PsdOptions {
  std::vector<std::string> files;  // OUT.psd [INPUT]
  std::string sizeText;
  int depth = 0;  // 0: the input's
  ParameterOptions parameters;
  bool quiet = false;
};

// "WxH"; the export itself refuses more than 30000 pixels each way.
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

// The file name's extension in lower case, "" when it has none.
std::string Extension(const std::string& name) {
  std::string extension = stellane::Utf8FromPath(stellane::PathFromUtf8(name).extension());
  for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

int RunPsd(const PsdOptions& o) {
  if (o.files.empty() || o.files.size() > 2) UsageError("psd: expects OUT.psd [INPUT]");
  const std::string& output = o.files[0];
  // PSD data under another format's name would mislead every program.
  if (!Extension(output).empty() && Extension(output) != ".psd") {
    if (o.files.size() == 2 && Extension(o.files[1]) == ".psd")
      UsageError("psd: the output comes first: stellane psd " + o.files[1] + " " + output);
    UsageError("psd: the output must be a .psd file, got " + output);
  }
  int width = kDemoWidth, height = kDemoHeight, depth = 8;
  testhost::Image photo;
  if (o.files.size() == 2) {
    photo = ReadImageFile(o.files[1]);
    width = photo.width;
    height = photo.height;
    depth = photo.depth;
    if (!o.sizeText.empty()) UsageError("psd: --size is the input's with an INPUT");
  }
  if (!o.sizeText.empty()) ParseSize(o.sizeText, width, height);
  if (o.depth > 0) depth = o.depth;
  stellane::RenderParams params = BuildParams(o.parameters);

  // The job's size travels as the custom output size, so that sizes the
  // host's 16-bit rectangles cannot hold are refused by the export itself.
  params.outputMode = 6;
  params.customWidth = width;
  params.customHeight = height;
  params.renderTarget = 0;

  // The run the export renders with: context and row ring from the heap.
  auto context = std::make_unique<stellane::RenderContext>();
  stellane::MemoryBlock ring;
  stellane::ExportRun run{};
  run.job = stellane::HeapRenderJob(params, *context, ring, width, height);
  run.job.destination.kind = depth == 8    ? stellane::ImageKind::k8
                             : depth == 16 ? stellane::ImageKind::k16
                                           : stellane::ImageKind::kFloat;
  run.imageWidth = width;
  run.imageHeight = height;
  const auto starSeed =
      o.parameters.seed ? *o.parameters.seed : static_cast<std::uint32_t>(std::time(nullptr));
  stellane::CrtSrand(starSeed);
  // The export writes "<file>.part" and renames it when complete.
  const std::string destination = OutputDestination(output);
  RememberTemporary(destination + ".part");
  errno = 0;
  const std::int16_t status =
      o.files.size() < 2 ? stellane::ExportPsd(run, destination.c_str(), nullptr)
                         : ExportPsdWithPhoto(run, destination, photo,
                                              ReadImageMetadata(o.files[1]), depth, starSeed);
  ForgetTemporary(destination + ".part");
  stellane::ReleaseBlock(run.job.blocks, ring);
  if (status != 0) Fail(ExportMessage(status, output));
  return kExitOk;
}

int RunHtml(const std::vector<std::string>& files) {
  if (files.size() != 3 || files[0] != "presets")
    UsageError("html: expects presets FOLDER OUT.html");
  const std::string& folder = files[1];
  const std::string& page = files[2];
  if (ListPresets(folder).empty())
    Fail(folder + ": no settings files (.q9r) in this folder; " + page + " not written");
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

}  // namespace

CommandRun AddPsdCommand(CLI::App& root) {
  auto o = std::make_shared<PsdOptions>();
  CLI::App* command =
      AddCommand(root, "psd",
                 "Renders the effect as a layered PSD file. With INPUT: the picture as "
                 "the layer \"Background\", the effect above it as \"layer 1\" in the "
                 "blend mode of the glue mode (or, for glue modes the PSD format lacks, "
                 "the effect glued onto the picture, in normal mode), and the merged "
                 "picture that `stellane render` gives. Without INPUT: one layer "
                 "\"layer 1\" with transparency and the merged picture over a "
                 "checkerboard. The size is the input image's (or the demo picture's, "
                 "960 x 600, or --size), the depth the input's.",
                 o->quiet);
  command->add_option("files", o->files, "OUT.psd [INPUT]")->type_name("FILE");
  command->add_option("--size", o->sizeText, "the picture's size WxH, 1..30000 each way")
      ->type_name("WxH");
  command->add_option("--depth", o->depth, "8-bit, 16-bit or float channels")
      ->check(CLI::IsMember({8, 16, 32}));
  AddParameterOptions(*command, o->parameters, false);
  return [command, o] {
    FinishParameterOptions(*command, o->parameters);
    return RunPsd(*o);
  };
}

CommandRun AddHtmlCommand(CLI::App& root) {
  auto files = std::make_shared<std::vector<std::string>>();
  auto quiet = std::make_shared<bool>(false);
  CLI::App* command =
      AddCommand(root, "html",
                 "html presets FOLDER OUT.html: writes a web page of every settings "
                 "file (.q9r) in FOLDER with its thumbnail, five a row; the pictures "
                 "go into \"web_images\" beside the page.",
                 *quiet);
  command->add_option("files", *files, "presets FOLDER OUT.html")->type_name("FILE");
  return [files, quiet] { return RunHtml(*files); };
}

}  // namespace cli
