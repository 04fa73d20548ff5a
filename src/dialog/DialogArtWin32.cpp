// Loads the dialog's pictures, cursors and label font from the module.
#include <cstdio>

#include "dialog/DialogViewWin32.h"

namespace stellane {

namespace {

HBITMAP Picture(HINSTANCE module, const char* name) {
  return static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace

void LoadDialogArt(HINSTANCE module, DialogArt& art) {
  art.background = Picture(module, "DLGSKY");
  art.tracks[0] = Picture(module, "TRACKUPPER");
  art.tracks[1] = Picture(module, "TRACKLOWER");
  art.knob = Picture(module, "KNOB");
  for (int i = 0; i < 10; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "DOT%d", i);
    art.dots[i] = Picture(module, name);
  }
  art.thumbnailFrame = Picture(module, "THUMBFRAME");
  art.logo = Picture(module, "ABOUTMARK");
  art.openHand = LoadCursorA(module, "OPENHAND");
  art.closedHand = LoadCursorA(module, "CLOSEDHAND");
  // Arial 8 points at 96 dots per inch: an 11-pixel cell.
  art.labelFont =
      CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
}

void FreeDialogArt(DialogArt& art) {
  HBITMAP* bitmaps[] = {&art.background, &art.tracks[0],      &art.tracks[1],
                        &art.knob,       &art.thumbnailFrame, &art.logo};
  for (HBITMAP* b : bitmaps)
    if (*b) DeleteObject(*b);
  for (HBITMAP& b : art.dots)
    if (b) DeleteObject(b);
  if (art.labelFont) DeleteObject(art.labelFont);
  // Cursors from resources are shared and never destroyed.
  art = DialogArt{};
}

}  // namespace stellane
