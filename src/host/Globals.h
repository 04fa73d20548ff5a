// The per-instance record. The host keeps its handle in the data word, so it
// lives from the parameters call to the finish call of a run and from run to
// run while the host keeps the word. Members are grouped by their owners.
#pragma once

#include <cstdint>

#include "host/HostServices.h"
#include "host/PluginApi.h"
#include "image/TiledImage.h"
#include "params/DotDirectory.h"
#include "params/RenderParams.h"
#include "render/ProgressThrottle.h"
#include "render/RenderContext.h"

namespace stellane {

struct DialogSession;

// The run's work buffers: the row ring and the renderer's context block.
struct RunBuffers {
  WorkBuffer rowRing;
  WorkBuffer renderContext;
};

struct Globals {
  // Refreshed on every call.
  ps::FilterRecord* filterRecord;

  // Entry and dispatch.
  std::uint8_t freshGlobals;  // set by a parameters call that created this block
  std::int32_t filterWidth;
  std::int32_t filterHeight;

  // Run driver: work area and counters.
  std::int32_t workWidth;
  std::int32_t workHeight;
  std::int32_t bufferUnits;
  std::int32_t rowIndex;
  std::int32_t currentRow;
  std::int32_t renderPhase;
  std::uint8_t moreRows;
  std::uint8_t loopInternally;
  std::uint8_t renderStarted;
  std::int32_t maskFirstRow;
  std::int32_t maskLastRow;
  ProgressThrottle progress;  // rows walked; how often the host is told and asked
  RunBuffers buffers;
  // The 128 x 128 thumbnail that settings files fill and store; it lives
  // from start to the end of the run.
  TiledImage settingsThumbnail;
  // The memory dots' pinned flags: read from their file at start, written
  // back at the run's end.
  DotPins dotPins;

  // ---- Dialog section (owned by src/dialog): the open dialog, the preview's
  // fit factor, the qualifiers of the last mouse press and the current undo slot.
  struct DialogSession* dialogSession;
  std::int32_t previewFitFactor;
  std::uint8_t rightButtonPress;
  std::uint8_t ctrlPress;
  std::int32_t undoSlot;
  // ---- End of the dialog section.

  // The parameter record, locked for the duration of one call.
  RenderParams* params;
};

// A positive result tells the host that the plug-in has already shown its
// own message, so the host shows none. Only for that: a failure nobody has
// reported to the user keeps its own (negative) code.
constexpr ps::OSErr kErrMessageShown = 1;

// The run's render context block.
inline RenderContext& Context(Globals& g) {
  return *static_cast<RenderContext*>(g.buffers.renderContext.data);
}
inline const RenderContext& Context(const Globals& g) {
  return *static_cast<const RenderContext*>(g.buffers.renderContext.data);
}

}  // namespace stellane
