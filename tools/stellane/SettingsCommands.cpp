// `stellane info` and `stellane thumbnail`: what a settings file holds.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "glue/GlueNames.h"
#include "params/ParamTable.h"
#include "params/SettingsFile.h"
#include "stellane/CliError.h"
#include "stellane/Commands.h"
#include "stellane/ImageFiles.h"
#include "stellane/OutputFile.h"
#include "stellane/Parameters.h"
#include "stellane/SettingsThumbnail.h"

namespace cli {

const char* const kInfoHelp =
    "Usage: stellane info FILE.q9r\n"
    "\n"
    "Prints a settings file's version, every value it holds and whether it\n"
    "has a thumbnail. Values an older version lacks show their defaults.\n";

const char* const kThumbnailHelp =
    "Usage: stellane thumbnail FILE.q9r OUT.jpg\n"
    "\n"
    "Extracts the thumbnail stored in a settings file. OUT's format follows\n"
    "its extension (.jpg, .jpeg, .png, .tif, .tiff).\n";

namespace {

void ExpectFileNames(const Arguments& args, std::size_t count, const char* usage) {
  for (const std::string& arg : args)
    if (arg.size() > 1 && arg[0] == '-') UsageError("unknown option " + arg + "; " + usage);
  if (args.size() != count) UsageError(std::string("wrong number of arguments; ") + usage);
}

}  // namespace

int InfoCommand(const Arguments& args) {
  ExpectFileNames(args, 1, "usage: stellane info FILE.q9r");
  const std::string& path = args[0];
  stellane::RenderParams params{};
  stellane::InitNewRenderParams(params);
  const stellane::SettingsReadResult read =
      stellane::ReadSettingsFile(path.c_str(), stellane::SettingsReadMode::Values, params, nullptr);
  if (read.status != 0) Fail("cannot open " + path + ": " + std::strerror(errno));
  if (read.version == 0) Fail(path + ": not a Stellane settings file");

  std::printf("file: %s\nversion: %d\n", path.c_str(), int(read.version));
  if (read.thumbnailPresent)
    std::printf("thumbnail: %d x %d\n", int(read.thumbnailWidth), int(read.thumbnailHeight));
  else
    std::printf("thumbnail: none\n");
  for (const stellane::ParamInfo& row : stellane::ParamTable()) {
    if (row.kind == stellane::ParamKind::Float) {
      std::printf("%s: %.2f\n", row.name, double(stellane::GetFloatParam(params, row)));
      continue;
    }
    const std::int32_t value = stellane::GetIntParam(params, row);
    const char* glueName =
        std::strcmp(row.name, "glue") == 0 ? stellane::GlueModeName(value) : nullptr;
    if (glueName)
      std::printf("%s: %d (%s)\n", row.name, int(value), glueName);
    else
      std::printf("%s: %d\n", row.name, int(value));
  }
  return kExitOk;
}

int ThumbnailCommand(const Arguments& args) {
  ExpectFileNames(args, 2, "usage: stellane thumbnail FILE.q9r OUT.jpg");
  ImageFileKind kind;
  if (!ImageFileKindFromName(args[1], kind))
    UsageError(args[1] + ": unknown output format (use .jpg, .jpeg, .png, .tif or .tiff)");
  const testhost::Image thumbnail = ReadSettingsThumbnail(args[0]);
  WriteThroughTemporary(
      args[1], [&](const std::string& temporary) { WriteImageFile(thumbnail, temporary, kind); });
  return kExitOk;
}

}  // namespace cli
