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
  c.quirks.narrowDataWord = true;
  c.quirks.noFinishAfterSuccess = true;
  c.quirks.skipParameters = true;
  c.quirks.filterCaseZero = true;
  c.quirks.doneOnlyWhenRightIsZero = true;
  c.quirks.ratesPresetZero = true;
  c.quirks.bufferSlotsBeyondFiveNull = true;
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
