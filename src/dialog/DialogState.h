// The dialog's state: the record it keeps in the RenderContext's dialog area
// (control values, enabled flags, colours, backup, undo store, memory dots)
// and the session of one open dialog (its window and the dot thumbnail picture).
#pragma once

#include <cstdint>

#include "dialog/ControlTable.h"
#include "dialog/DialogWindow.h"
#include "host/Globals.h"
#include "image/TiledImage.h"
#include "params/TempFolder.h"
#include "render/RenderContext.h"

namespace stellane {

// Bit of a memory dot's ControlValues entry while the mouse holds it down.
constexpr std::int32_t kDotPressedBit = 2;

enum class DotState : std::uint8_t { Empty = 0, Filled = 1, Current = 2 };

struct UndoSlot {
  RenderParams params;  // only the parameter set is meaningful
  std::uint8_t valid;
  std::uint8_t onDisk;
};

struct DialogRecord {
  std::int32_t controlValues[kControlCount];
  std::uint8_t enabled[kControlCount];
  Color16 colours[kControlCount];
  RenderParams backup;  // the parameter set at opening, for Cancel
  UndoSlot undo[2];
  DotState dotStates[kMemoryDotCount];
  std::int32_t shownDot;  // the dot whose thumbnail is shown, -1 none
};

static_assert(sizeof(DialogRecord) <= sizeof(RenderContext::dialogArea),
              "the dialog record must fit the render context's dialog area");

inline DialogRecord& Dialog(Globals& g) {
  return *reinterpret_cast<DialogRecord*>(Context(g).dialogArea);
}

constexpr std::int32_t kDotThumbnailSide = 88;

// One open dialog. It lives on the stack of whoever runs the dialog;
// Globals::dialogSession points at it while the dialog is open.
struct DialogSession {
  DialogWindow* window;
  TiledImage dotThumbnail;  // the thumbnail area's 88 x 88 picture
  bool dotThumbnailLoaded;  // a dot's stored thumbnail is in dotThumbnail
  bool refresh;             // a command asks for a new preview
  bool ended;
  bool batchRunning;
  bool pageRunning;  // an HTML page is being written
  DialogCursor cursor;
  // The host's answer to the last preview request or render (nothing renders
  // after a failure until a request succeeds), and at the end the dialog's
  // outcome: noErr after OK, userCanceledErr after Cancel.
  ps::OSErr status;
};

inline DialogSession& Session(Globals& g) { return *g.dialogSession; }
inline DialogWindow& Window(Globals& g) { return *g.dialogSession->window; }

}  // namespace stellane
