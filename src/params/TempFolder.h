// The folder where the plug-in keeps its files between runs, and the names
// of those files and of the user's settings files.
#pragma once

#include <cstddef>

#include "params/RenderParams.h"

namespace stellane {

constexpr const char* kCachedSettingsName = "Stellane cached settings C";
constexpr const char* kDotDirectoryName = "Stellane directory 2";
constexpr int kMemoryDotCount = 25;

// The system's temporary folder with a trailing separator, into a buffer of
// kPathBytes. Implemented per platform; never fails (it falls back to a
// fixed folder).
void GetTempFolder(char (&folder)[kPathBytes]);

// The temporary folder followed by `name`. False (and `path` empty) when the
// result would not fit kPathBytes.
bool TempFilePath(const char* name, char (&path)[kPathBytes]);

// "Stellane undo 0" / "Stellane undo 1" for slot 0 / 1.
bool UndoFilePath(int slot, char (&path)[kPathBytes]);

// "Stellane memory dot N.q9r" for dot N (0..24; 25 is the batch backup slot).
bool MemoryDotFilePath(int dot, char (&path)[kPathBytes]);

// Makes `name` a settings file name: empty becomes "Stellane settings.q9r",
// otherwise the extension is cut and ".q9r" appended (the name is shortened
// if that is needed to fit).
void NormaliseSettingsName(char (&name)[kPathBytes]);

}  // namespace stellane
