// The 25 memory dots: settings sets kept in files of the temporary folder,
// stored and recalled by clicks, previewed in the thumbnail area on hover.
#include <cstdio>

#include "dialog/MainDialog.h"
#include "params/DotDirectory.h"
#include "params/SettingsFile.h"

namespace stellane {

namespace {

std::int32_t& Pinned(Globals& g, int dot) { return g.dotPins.pinned[dot]; }

void RepaintDots(Globals& g) {
  for (int i = 0; i < kMemoryDotCount; ++i) Window(g).RepaintControl(ctl::kFirstDot + i);
}

void ClearThumbnailArea(Globals& g) {
  Session(g).dotThumbnailLoaded = false;
  Dialog(g).shownDot = -1;
  Window(g).RepaintControl(ctl::kDotThumbnail);
}

// A plain left click on a filled dot: its settings become the current ones.
void RecallDot(Globals& g, int dot) {
  char path[kPathBytes];
  if (MemoryDotFilePath(dot, path))
    ReadSettingsFile(path, SettingsReadMode::Values, *g.params, &g.settingsThumbnail);
  ClearCurrentDotMark(g);
  Dialog(g).dotStates[dot] = DotState::Current;
  RepaintDots(g);
  ParamsToControls(g);
  Session(g).refresh = true;
}

// The stored thumbnail of a dot that holds settings, into the thumbnail
// area's picture; false when there is none to show.
bool LoadDotThumbnail(Globals& g, int dot) {
  DialogSession& s = Session(g);
  if (Dialog(g).dotStates[dot] == DotState::Empty || !HasPixels(g.settingsThumbnail) ||
      !HasPixels(s.dotThumbnail))
    return false;
  ResetToGreyRamp(g.settingsThumbnail);
  char path[kPathBytes];
  RenderParams ignored{};
  const SettingsReadResult read =
      MemoryDotFilePath(dot, path)
          ? ReadSettingsFile(path, SettingsReadMode::ThumbnailOnly, ignored, &g.settingsThumbnail)
          : SettingsReadResult{kFileNotOpened};
  if (read.status != 0 || !read.thumbnailPresent) return false;
  CopyScaled(g.settingsThumbnail, s.dotThumbnail, {0, 0, read.thumbnailWidth, read.thumbnailHeight},
             {0, 0, kDotThumbnailSide, kDotThumbnailSide}, 0.0f);
  return true;
}

}  // namespace

void ResetToGreyRamp(TiledImage& image) {
  for (std::int32_t y = 0; y < image.levels[0].height; ++y) {
    const std::uint32_t v = static_cast<std::uint32_t>(255 - (y & 255));
    for (std::int32_t x = 0; x < image.levels[0].width; ++x)
      WritePacked(image, x, y, 0, PackChannels(v, v, v, 255));
  }
}

bool CreateSettingsThumbnail(Globals& g) {
  InitTiledImage(g.settingsThumbnail, HostBlocks(g.filterRecord));
  if (!CreateTiledImage(g.settingsThumbnail, kThumbnailSide, kThumbnailSide, kFormatPacked8))
    return false;
  ResetToGreyRamp(g.settingsThumbnail);
  return true;
}

int DotIndex(int control) {
  return control >= ctl::kFirstDot && control <= ctl::kLastDot ? control - ctl::kFirstDot : -1;
}

DotPicture DotPictureOf(Globals& g, int dot) {
  const DialogRecord& r = Dialog(g);
  const bool pressed = (r.controlValues[ctl::kFirstDot + dot] & kDotPressedBit) != 0;
  int picture = 0;  // the empty dot, pinned or not
  if (r.dotStates[dot] == DotState::Filled) picture = Pinned(g, dot) ? 2 : 4;
  if (r.dotStates[dot] == DotState::Current) picture = Pinned(g, dot) ? 6 : 8;
  return static_cast<DotPicture>(picture + (pressed ? 1 : 0));
}

void ClearCurrentDotMark(Globals& g) {
  for (DotState& s : Dialog(g).dotStates)
    if (s == DotState::Current) s = DotState::Filled;
  RepaintDots(g);
}

void OpenMemoryDots(Globals& g) {
  DialogRecord& r = Dialog(g);
  for (int i = 0; i < kMemoryDotCount; ++i) {
    r.dotStates[i] = Pinned(g, i) ? DotState::Filled : DotState::Empty;
    r.controlValues[ctl::kFirstDot + i] = 0;
  }
  ClearThumbnailArea(g);
  RepaintDots(g);
}

void StoreIntoFirstUnpinnedDot(Globals& g) {
  for (int i = 0; i < kMemoryDotCount; ++i) {
    if (!Pinned(g, i)) {
      StoreIntoDot(g, i);
      return;
    }
  }
}

void StoreIntoDot(Globals& g, int dot) {
  MakeThumbnail(g);
  char path[kPathBytes];
  if (MemoryDotFilePath(dot, path)) WriteSettingsFile(path, *g.params, &g.settingsThumbnail);
  ClearCurrentDotMark(g);
  Dialog(g).dotStates[dot] = DotState::Current;
  Window(g).RepaintControl(ctl::kFirstDot + dot);
  Dialog(g).shownDot = -1;
  DotHover(g, dot);
}

void DotClick(Globals& g, int dot) {
  DialogRecord& r = Dialog(g);
  if (r.dotStates[dot] == DotState::Empty) {
    Pinned(g, dot) = g.ctrlPress ? 0 : 1;
    StoreIntoDot(g, dot);
  } else if (g.rightButtonPress) {
    r.dotStates[dot] = DotState::Empty;
    Pinned(g, dot) = 0;
    // An emptied dot holds no settings: neither a later hover nor the
    // memory-dot page may find them in its file.
    char path[kPathBytes];
    if (MemoryDotFilePath(dot, path)) std::remove(path);
    Window(g).RepaintControl(ctl::kFirstDot + dot);
    ClearThumbnailArea(g);
  } else if (g.ctrlPress) {
    Pinned(g, dot) = 0;
    Window(g).RepaintControl(ctl::kFirstDot + dot);
  } else {
    RecallDot(g, dot);
  }
}

void DotHover(Globals& g, int dot) {
  DialogSession& s = Session(g);
  DialogRecord& r = Dialog(g);
  if (r.shownDot == dot) return;
  r.shownDot = dot;
  // The area shows the picture a click on it loads, or none: never the
  // previous dot's picture under an empty dot. (A dot file left from an
  // earlier run by a dot that is empty now is as good as none.)
  const bool shownBefore = s.dotThumbnailLoaded;
  s.dotThumbnailLoaded = LoadDotThumbnail(g, dot);
  if (shownBefore || s.dotThumbnailLoaded) Window(g).RepaintControl(ctl::kDotThumbnail);
}

void ThumbnailClick(Globals& g) {
  if (g.rightButtonPress) {
    PresetPageCommand(g, true);
  } else if (g.ctrlPress) {
    BatchThumbnails(g);
  } else if (Dialog(g).shownDot >= 0 &&
             Dialog(g).dotStates[Dialog(g).shownDot] != DotState::Empty) {
    RecallDot(g, Dialog(g).shownDot);
  }
}

}  // namespace stellane
