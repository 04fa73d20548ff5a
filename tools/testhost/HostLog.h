// What the test host saw during a session: allocations, callback calls and
// protocol errors (requests it had to refuse).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/PluginApi.h"

namespace testhost {

struct ProgressCall {
  std::int32_t done;
  std::int32_t total;
};

// One pixel request served (advanceState, or the host between continue calls).
struct PixelRequest {
  ps::Rect16 inRect, outRect, maskRect;
  std::int16_t inLoPlane, inHiPlane, outLoPlane, outHiPlane;
  ps::Fixed inputRate, maskRate;
  std::int16_t inputPadding, outputPadding, maskPadding;
  bool fromAdvanceState;
};

// A displayPixels call with a copy of what the host shows for it: the pixels
// of srcRect, interleaved, `planes` samples of `bytesPerSample` each, colour
// planes in red, green, blue order.
struct DisplayCall {
  ps::VRect srcRect;
  ps::VRect bounds;
  std::int32_t dstRow, dstCol;
  std::int32_t version, imageMode, rowBytes, colBytes, planeBytes;
  int planes, bytesPerSample;
  std::vector<std::uint8_t> pixels;
  void* platformContext;
};

// What a run of displayPixels calls left on the screen: each call's pixels
// at its destination, later calls over earlier ones. `picture` (8-bit, the
// calls' planes) covers them all, its top-left at screen (top, left);
// `drawn` marks, row by row, the pixels some call drew.
struct ShownScreen {
  int top = 0, left = 0;
  int width = 0, height = 0, planes = 0;
  std::vector<std::uint8_t> pixels;
  std::vector<bool> drawn;
  // The samples at screen (row, column), or null where nothing was drawn.
  const std::uint8_t* At(int row, int column) const;
};
// Of 8-bit calls of one plane count; others are passed over.
ShownScreen ShowCalls(const std::vector<DisplayCall>& calls);

struct ColorCall {
  std::int16_t selector, sourceSpace, resultSpace;
  ps::OSErr answer;
};

struct HostLog {
  int handlesAllocated = 0, handlesDisposed = 0, handleRefusals = 0;
  int buffersAllocated = 0, buffersFreed = 0, bufferRefusals = 0;
  int abortCalls = 0;
  int advanceStateCalls = 0;
  int rowsDelivered = 0;  // input rows handed to the plug-in
  std::vector<ProgressCall> progress;
  std::vector<PixelRequest> requests;
  std::vector<DisplayCall> displays;
  std::vector<ColorCall> colorCalls;
  int descriptorReadersOpened = 0, descriptorWritersOpened = 0;
  std::vector<std::uint32_t> keysRead;
  // Misuse the host detected: unknown handles or buffers, bad rectangles or
  // planes, unbalanced locks, calls outside a run.
  std::vector<std::string> protocolErrors;
};

}  // namespace testhost
