// Host presets: the signatures and quirks of hosts we know of.
#include "testhost/HostConfig.h"

namespace testhost {

HostConfig PhotoshopHost() { return HostConfig{}; }

HostConfig AffinityHost() {
  HostConfig c;
  c.hostSig = ps::FourCC("AffP");
  c.quirks.zeroSuiteVersions = true;
  return c;
}

HostConfig GimpPspiHost() {
  HostConfig c;
  c.hostSig = ps::FourCC("PMIG");
  c.offerDescriptorSuite = false;
  c.samplingSupport = 0;
  c.supportsPadding = false;
  c.maxSpace = 100000000;
  c.parentWindow = 0;
  // Non-interactive runs (RunFilter without withParameters) get no
  // Parameters call and start with a NULL parameters handle.
  c.quirks.narrowDataWord = true;
  c.quirks.noFinishAfterSuccess = true;
  c.quirks.filterCaseZero = true;
  c.quirks.doneOnlyWhenRightIsZero = true;
  c.quirks.ratesPresetZero = true;
  c.quirks.bufferSlotsBeyondFiveNull = true;
  c.quirks.outputThroughOutData = true;
  c.quirks.emptyOutputBuffer = true;
  c.quirks.hostAppliesSelection = true;
  c.quirks.selectionOnlyNarrowsFilterRect = true;
  c.quirks.noErrorString = true;
  c.quirks.colorServicesRefuseAll = true;
  return c;
}

HostConfig PspiHostDll() {
  HostConfig c;
  c.hostSig = ps::FourCC("OHps");
  c.supportsPadding = false;
  c.quirks.nullDescriptorProcs = true;
  c.quirks.freshDataWordEachRun = true;
  c.quirks.freshParametersEachRun = true;
  c.quirks.aboutResultPresetOne = true;
  c.quirks.handleSizeZero = true;
  c.quirks.doneOnlyWhenRightIsZero = true;
  c.quirks.pspiHostDisplay = true;
  c.quirks.propertiesAnswerNothing = true;
  c.quirks.parametersEveryRun = true;
  c.quirks.eightBitRgbColors = true;
  c.quirks.specialColorRefused = true;
  c.quirks.bufferSpacePreset = true;
  c.quirks.outputThroughOutData = true;
  c.quirks.hostAppliesSelection = true;
  return c;
}

HostConfig PaintDotNetHost() {
  HostConfig c;
  c.hostSig = ps::FourCC("NDP.");
  c.maxSpace = 1 << 30;
  c.quirks.shortRecord = true;
  return c;
}

HostConfig IrfanViewHost() {
  HostConfig c;
  c.hostSig = ps::FourCC("UP20");
  c.maxSpace = 256 * 1024;  // IrfanView gives kilobytes
  c.quirks.freshDataWordEachRun = true;
  c.quirks.freshParametersEachRun = true;
  return c;
}

}  // namespace testhost
