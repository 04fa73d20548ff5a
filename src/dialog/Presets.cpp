// Whole-set commands: Load, Save, Reset, the settings thumbnail and the
// batch that refreshes the thumbnails of a folder of settings files.
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "dialog/MainDialog.h"
#include "host/HostServices.h"
#include "host/RenderJobs.h"
#include "params/FilePaths.h"
#include "params/SettingsFile.h"

namespace stellane {

namespace {

void CopyText(char (&to)[kPathBytes], const char* from, std::size_t length) {
  length = std::min(length, std::size_t{kPathBytes - 1});
  std::memmove(to, from, length);
  to[length] = '\0';
}

// Splits a chosen path into its folder (with the separator) and file name.
void SplitPath(const char* path, char (&folder)[kPathBytes], char (&name)[kPathBytes]) {
  const char* slash = std::max(std::strrchr(path, '/'), std::strrchr(path, '\\'));
  const char* base = slash ? slash + 1 : path;
  char file[kPathBytes];
  CopyText(file, base, std::strlen(base));
  CopyText(folder, path, static_cast<std::size_t>(base - path));
  CopyText(name, file, std::strlen(file));
}

void Retitle(Globals& g, const char* name) {
  CopyText(g.params->settingsFileName, name, std::strlen(name));
  Window(g).RepaintControl(ctl::kStatusLine);
}

std::int32_t BytesPerChannel(const ps::FilterRecord& fr) {
  switch (ImageKindOf(fr)) {
    case ImageKind::k16:
      return 2;
    case ImageKind::kFloat:
      return 4;
    default:
      return 1;
  }
}

}  // namespace

void MakeThumbnail(Globals& g) {
  const ps::FilterRecord* fr = g.filterRecord;
  TiledImage& thumbnail = g.settingsThumbnail;
  if (!HasPixels(thumbnail) || !HasAdvanceState(fr)) return;
  ResetToGreyRamp(thumbnail);
  const std::int32_t width = fr->outRect.right - fr->outRect.left;
  const std::int32_t height = fr->outRect.bottom - fr->outRect.top;
  const std::int32_t side = std::min(width, height);
  if (!fr->outData || side <= 0) return;
  const HostPixelArea area{
      fr->outData,         fr->outRowBytes, width, height, fr->outHiPlane - fr->outLoPlane + 1,
      BytesPerChannel(*fr)};
  TiledImage square;
  InitTiledImage(square, HostBlocks(fr));
  if (CreateTiledImage(square, side, side, kFormatPacked8)) {
    CopyHostPixels(area, (width - side) / 2, (height - side) / 2, square);
    CopyScaled(square, thumbnail, {0, 0, side, side}, {0, 0, kThumbnailSide, kThumbnailSide}, 0.0f);
  }
  ReleaseTiledImage(square);
}

void SaveCommand(Globals& g) {
  RenderParams& p = *g.params;
  MakeThumbnail(g);
  NormaliseSettingsName(p.settingsFileName);
  // The chooser starts with the name less its extension.
  char start[kPathBytes];
  CopyText(start, p.settingsFileName, std::strlen(p.settingsFileName));
  if (char* dot = std::strrchr(start, '.')) *dot = '\0';
  char path[kPathBytes] = {};
  if (Window(g).ChooseFile(FileChoice::SaveSettings, p.settingsFolder, start, path)) {
    SplitPath(path, p.settingsFolder, p.settingsFileName);
    WriteSettingsFile(path, p, &g.settingsThumbnail);
  }
  Window(g).RepaintControl(ctl::kStatusLine);
}

void LoadCommand(Globals& g) {
  RenderParams& p = *g.params;
  char path[kPathBytes] = {};
  if (!Window(g).ChooseFile(FileChoice::OpenSettings, p.settingsFolder, p.settingsFileName, path))
    return;
  SplitPath(path, p.settingsFolder, p.settingsFileName);
  // Fields the file lacks keep their defaults.
  LoadDefaults(p);
  ReadSettingsFile(path, SettingsReadMode::Values, p, &g.settingsThumbnail);
  ParamsToControls(g);
  Session(g).refresh = true;
  Window(g).RepaintControl(ctl::kStatusLine);
}

void ResetCommand(Globals& g) {
  LoadDefaults(*g.params);
  ParamsToControls(g);
  Session(g).refresh = true;
  Retitle(g, "plain settings.q9r");
}

void BatchThumbnails(Globals& g) {
  DialogSession& s = Session(g);
  RenderParams& p = *g.params;
  if (s.batchRunning) return;
  char path[kPathBytes] = {};
  if (!s.window->ChooseFile(FileChoice::AnyFileInFolder, p.sourceFolder, "", path)) return;
  char name[kPathBytes];
  SplitPath(path, p.sourceFolder, name);
  s.batchRunning = true;
  char backup[kPathBytes];
  const bool haveBackup = MemoryDotFilePath(kMemoryDotCount, backup);
  if (haveBackup) WriteSettingsFile(backup, p, &g.settingsThumbnail);

  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path folder = p.sourceFolder[0] ? PathFromUtf8(p.sourceFolder) : fs::path(".");
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::file_status status = it->status(ec);
    if (ec || !fs::is_regular_file(status) ||
        (status.permissions() & fs::perms::owner_write) == fs::perms::none)
      continue;
    const std::string file = Utf8FromPath(it->path().filename());
    if (file.find("q9q") == std::string::npos && file.find("q5q") == std::string::npos) continue;
    s.cursor = DialogCursor::Busy;
    s.window->SetCursor(DialogCursor::Busy);
    LoadDefaults(p);
    const std::string full = Utf8FromPath(it->path());
    const SettingsReadResult read =
        ReadSettingsFile(full.c_str(), SettingsReadMode::Values, p, &g.settingsThumbnail);
    CopyText(p.settingsFileName, file.c_str(), file.size());
    ParamsToControls(g);
    if (read.status != 0) continue;
    ControlsToParams(g);
    RenderPreview(g);
    PaintPreview(g, true);
    for (int c = 0; c < kControlCount; ++c) s.window->RepaintControl(c);
    MakeThumbnail(g);
    WriteSettingsFile(full.c_str(), p, &g.settingsThumbnail);
  }
  // Back to the settings the batch started from; the controls follow, so
  // the exchange after the command keeps them.
  if (haveBackup) ReadSettingsFile(backup, SettingsReadMode::Values, p, &g.settingsThumbnail);
  ParamsToControls(g);
  Session(g).refresh = true;
  s.cursor = DialogCursor::Arrow;
  s.window->SetCursor(DialogCursor::Arrow);
  s.batchRunning = false;
}

}  // namespace stellane
