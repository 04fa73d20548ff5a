// The files the run itself keeps in the temporary folder: the settings of
// the last dialog run and the memory-dot directory.
#include "host/RunHooks.h"
#include "params/DotDirectory.h"
#include "params/SettingsFile.h"
#include "params/TempFolder.h"

namespace stellane {

namespace {

// The run's settings thumbnail, when start could make it.
TiledImage* SettingsThumbnail(Globals& g) {
  return HasPixels(g.settingsThumbnail) ? &g.settingsThumbnail : nullptr;
}

}  // namespace

int ReadCachedSettings(Globals& g) {
  char path[kPathBytes];
  if (!g.params || !TempFilePath(kCachedSettingsName, path)) return kFileNotOpened;
  return ReadSettingsFile(path, SettingsReadMode::Values, *g.params, SettingsThumbnail(g)).status;
}

int WriteCachedSettings(Globals& g) {
  char path[kPathBytes];
  if (!g.params || !TempFilePath(kCachedSettingsName, path)) return kFileNotOpened;
  return WriteSettingsFile(path, *g.params, SettingsThumbnail(g));
}

int ReadDotDirectory(Globals& g) {
  char path[kPathBytes];
  if (!TempFilePath(kDotDirectoryName, path)) return kFileNotOpened;
  return ReadDotDirectoryFile(path, g.dotPins);
}

int WriteDotDirectory(Globals& g) {
  char path[kPathBytes];
  if (!TempFilePath(kDotDirectoryName, path)) return kFileNotOpened;
  return WriteDotDirectoryFile(path, g.dotPins);
}

}  // namespace stellane
