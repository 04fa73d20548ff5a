// What a test host offers the plug-in and how it behaves: the host
// signature, the image description fields, which callbacks and suites exist,
// when they refuse, and the quirks of real third-party hosts it can play.
#pragma once

#include <cstdint>
#include <optional>

#include "host/PluginApi.h"
#include "testhost/Descriptor.h"

namespace testhost {

// A rectangle in image coordinates, bottom and right exclusive.
struct Rect {
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
};

// Behaviours of real hosts that differ from Photoshop's.
struct HostQuirks {
  // Affinity Photo: handle and buffer suites with version and count 0 but
  // working procs.
  bool zeroSuiteVersions = false;
  // pspiHost: descriptorParameters present, its read and write procs NULL,
  // playInfo 0.
  bool nullDescriptorProcs = false;
  // GIMP's pspi: the data word is a 4-byte slot. Only its low 4 bytes are
  // kept between runs; the upper 4 bytes of our 8-byte slot hold a canary.
  bool narrowDataWord = false;
  // pspiHost: a fresh, zero data word on every run.
  bool freshDataWordEachRun = false;
  // pspiHost and IrfanView: an empty parameters handle on every run (the
  // previous one is left to leak, as they do).
  bool freshParametersEachRun = false;
  // Paint.NET: the record is allocated 556 bytes long, fields from 500 zero.
  bool shortRecord = false;
  // pspiHost: *result is 1 when About is called.
  bool aboutResultPresetOne = false;
  // GIMP's pspi: Finish is not called after a successful run.
  bool noFinishAfterSuccess = false;
  // Paint.NET's repeat and GIMP's non-interactive runs: no Parameters call.
  bool skipParameters = false;
  // pspiHost: the handle suite answers 0 for every handle's size, and
  // setSize answers noErr but leaves the handle as it was.
  bool handleSizeZero = false;
  // GIMP's pspi: filterCase left at 0.
  bool filterCaseZero = false;
  // pspiHost and GIMP's pspi: the run goes on while any request rectangle
  // has a non-zero right edge, empty or not.
  bool doneOnlyWhenRightIsZero = false;
  // GIMP's pspi: inputRate and maskRate arrive as 0.
  bool ratesPresetZero = false;
  // GIMP's pspi: the buffer suite reports 8 procs but fills only the first 5.
  bool bufferSlotsBeyondFiveNull = false;
  // pspiHost: displayPixels reads 8-bit pixel maps its own way: grey rows
  // written from srcRect.top into a bitmap of srcRect's height (a guarded
  // overrun becomes a protocol error), grey colBytes ignored, RGB from the
  // map's first pixel and blue first (DisplayRead.cpp).
  bool pspiHostDisplay = false;
  // pspiHost: a property suite whose queries answer noErr and write
  // nothing (without it the test host offers none).
  bool propertiesAnswerNothing = false;
  // pspiHost: Parameters is called on every run.
  bool parametersEveryRun = false;
  // pspiHost: the RGBColor background and foreground hold 0..255 values.
  bool eightBitRgbColors = false;
  // pspiHost: colour services refuse GetSpecialColor.
  bool specialColorRefused = false;
  // pspiHost: bufferSpace arrives set to maxSpace.
  bool bufferSpacePreset = false;
  // pspiHost and GIMP's pspi: the host takes each output chunk through the
  // outData pointer the plug-in left; a chunk whose pointer was changed
  // (or set to NULL) is lost, a protocol error.
  bool outputThroughOutData = false;
  // GIMP's pspi: the output buffer starts empty (its shadow buffer), so a
  // plane the plug-in does not write comes back as 0.
  bool emptyOutputBuffer = false;
  // pspiHost and GIMP's pspi: after the run the host mixes the result with
  // the source by the selection, as Photoshop does (nothing changes outside
  // it).
  bool hostAppliesSelection = false;
  // GIMP's pspi: haveMask is never set and no mask is handed over; a
  // selection only narrows filterRect to its bounds.
  bool selectionOnlyNarrowsFilterRect = false;
  // GIMP's pspi: errorString is NULL.
  bool noErrorString = false;
  // GIMP's pspi: colour services refuse every selector.
  bool colorServicesRefuseAll = false;
};

struct HostConfig {
  std::uint32_t hostSig = ps::FourCC("8BIM");
  // The image mode reported; -1 derives it from the image (grey/RGB, depth).
  int imageMode = -1;
  // The area to filter; none: the whole image.
  std::optional<Rect> filterRect;
  // Transparency cases: protected (6, 7) instead of editable (4, 5).
  bool protectedTransparency = false;
  std::intptr_t parentWindow = 0;  // platformData->hwnd
  std::int32_t maxSpace = 256 * 1024 * 1024;
  char samplingSupport = 1;  // 0 none, 1 integral, 2 fractional
  bool supportsPadding = true;
  int extraRowBytes = 0;  // added to every row of inData/outData/maskData
  ps::RGBColor foreground = {0, 0, 0};
  ps::RGBColor background = {65535, 65535, 65535};

  // Callbacks and suites offered.
  bool offerAdvanceState = true;
  bool offerDisplayPixels = true;
  bool offerProgress = true;
  bool offerAbort = true;
  bool offerHandleSuite = true;
  bool offerBufferSuite = true;
  bool offerColorServices = true;
  bool offerDescriptorSuite = true;

  // Refusals: the number of allocations granted before every further one is
  // refused (-1: never refuse, 0: refuse all).
  int handlesBeforeRefusal = -1;
  int buffersBeforeRefusal = -1;
  // abortProc answers false this many times, then true (-1: never cancels).
  int abortAfterCalls = -1;

  // Colour services: the colour ChooseColor answers (RGB 0..255), or a cancel.
  std::int16_t chosenColor[3] = {255, 128, 0};
  bool chooseColorCancels = false;

  // Scripting. The play answer defaults to "don't display": a test or
  // command-line run must never wait on a modal dialog. Set
  // plugInDialogDisplay to play an interactive editor.
  std::int16_t playInfo = ps::plugInDialogDontDisplay;
  std::int16_t recordInfo = ps::plugInDialogOptional;
  // The descriptor handed to the plug-in at the next run (then cleared).
  std::optional<Descriptor> descriptorToPlay;
  // Hand each run's recorded descriptor to the following run.
  bool playBackRecorded = false;

  HostQuirks quirks;

  // Safety cap on continue calls in one run.
  int maxContinueCalls = 100000;
};

// Presets of the hosts whose behaviour we know (signature and quirks). The
// GIMP pspi and pspiHost presets play every behaviour we saw in those hosts.
HostConfig PhotoshopHost();
HostConfig AffinityHost();
HostConfig GimpPspiHost();
HostConfig PspiHostDll();
HostConfig PaintDotNetHost();
HostConfig IrfanViewHost();

}  // namespace testhost
