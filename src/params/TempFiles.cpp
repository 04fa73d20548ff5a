#include <cstdio>
#include <cstring>

#include "params/TempFolder.h"

namespace stellane {

namespace {

constexpr const char* kSettingsExtension = ".q9r";

}  // namespace

bool TempFilePath(const char* name, char (&path)[kPathBytes]) {
  GetTempFolder(path);
  if (std::strlen(path) + std::strlen(name) >= sizeof path) {
    path[0] = '\0';
    return false;
  }
  std::strcat(path, name);
  return true;
}

bool UndoFilePath(int slot, char (&path)[kPathBytes]) {
  char name[32];
  std::snprintf(name, sizeof name, "Stellane undo %d", slot);
  return TempFilePath(name, path);
}

bool MemoryDotFilePath(int dot, char (&path)[kPathBytes]) {
  char name[48];
  std::snprintf(name, sizeof name, "%s memory dot %d%s", "Stellane", dot, kSettingsExtension);
  return TempFilePath(name, path);
}

void NormaliseSettingsName(char (&name)[kPathBytes]) {
  name[sizeof name - 1] = '\0';  // a record from the host may hold anything
  if (name[0] == '\0') {
    std::snprintf(name, sizeof name, "%s", kDefaultSettingsFileName);
    return;
  }
  // The extension is what follows the last dot of the last path component.
  char* dot = std::strrchr(name, '.');
  const char* slash = std::strrchr(name, '/');
  const char* backslash = std::strrchr(name, '\\');
  if (backslash > slash) slash = backslash;
  if (dot && (!slash || dot > slash)) *dot = '\0';
  const std::size_t room = sizeof name - std::strlen(kSettingsExtension) - 1;
  if (std::strlen(name) > room) name[room] = '\0';
  std::strcat(name, kSettingsExtension);
}

}  // namespace stellane
