// The two pages the dialog writes: every settings file of a folder, and the
// memory dots that hold settings, each as a framed thumbnail. The dialog
// asks for the paths and opens the finished page in the browser.
#pragma once

#include <cstdint>

#include "export/ExportRender.h"

namespace stellane {

constexpr std::int32_t kPresetsColumns = 5;
constexpr std::int32_t kMemoryDotsColumns = 4;
constexpr std::int32_t kPresetCellSide = 88;   // the page's declared size of every thumbnail
constexpr std::int32_t kDotPictureSide = 300;  // longer side of a memory dot's picture
constexpr int kFirstPageDot = 1;
constexpr int kLastPageDot = 24;

// Statuses besides 0.
constexpr std::int16_t kPageNotCreated = 99;
constexpr std::int16_t kPageNotWritten = 98;
constexpr std::int16_t kFolderNotRead = 96;
constexpr std::int16_t kPageCancelled = -128;  // the host's user-cancel code

// True when the caller wants the work stopped.
using CancelTest = bool (*)();

// A page of every ".q9r" file in `folder` with its stored thumbnail, 5 a row.
// `cancelled` (may be null) is asked after every picture; a cancelled or
// failed page leaves nothing behind.
std::int16_t WritePresetsPage(const char* folder, const char* pagePath,
                              CancelTest cancelled = nullptr);

// A page of memory dots 1..24 that hold settings, 4 a row, each rendered at
// 300 pixels on its longer side with the dot's settings; the current
// settings are the same afterwards.
std::int16_t WriteMemoryDotsPage(const ExportRun& run, const char* pagePath);

// The picture size of a memory dot for a job of width x height.
void DotPictureSize(std::int32_t width, std::int32_t height, std::int32_t& outWidth,
                    std::int32_t& outHeight);

}  // namespace stellane
