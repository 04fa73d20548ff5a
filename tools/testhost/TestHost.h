// A portable host of the filter plug-in: one TestHost is one image-editor
// session. It keeps the plug-in's data word and `parameters` handle from run
// to run, offers the handle, buffer, descriptor and colour services and the
// row callbacks, serves pixel requests from an in-memory Image, and records
// what the plug-in asked of it.
//
// Usage:
//   auto module = testhost::PluginModule::Load("Stellane.so");   // or .8bf
//   testhost::TestHost host(module->Entry());  // or stellane::PluginMainImpl
//   host.SetImage(testhost::Image::Make(64, 48, 3, 8));
//   testhost::RunReport run = host.RunFilter();  // prepare, start, continue…, finish
//   if (run.result == 0) Save(host.GetImage());
//
// Single steps: BeginRun(), Call(selector)…, EndRun(); About() at any time.
// Switches (callbacks left out, refusals, third-party quirks) are in
// Config(); change them before BeginRun()/RunFilter().
//
// The plug-in's callbacks carry no context, so the host making a call is
// found through a process-wide pointer: use one thread, and call through
// the host whose session you mean. Nothing throws through a callback.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "host/PluginApi.h"
#include "testhost/Descriptor.h"
#include "testhost/HostConfig.h"
#include "testhost/HostLog.h"
#include "testhost/Image.h"
#include "testhost/PluginModule.h"

namespace testhost {

struct SelectorCall {
  std::int16_t selector;
  std::int16_t result;
};

struct RunOptions {
  bool withParameters = false;  // call Parameters first (the user asked for the dialog)
};

struct RunReport {
  std::vector<SelectorCall> calls;  // in order
  bool parametersCalled = false;
  bool finishCalled = false;
  std::int16_t parametersResult = 0;
  std::int16_t prepareResult = 0;
  std::int16_t startResult = 0;
  std::int16_t lastContinueResult = 0;
  std::int16_t finishResult = 0;
  std::int16_t result = 0;  // the first non-zero status of the run, else 0
  int continueCalls = 0;
  int advanceStateCalls = 0;
  int pixelRequests = 0;
  int rowsDelivered = 0;
  bool hitCallCap = false;  // stopped by maxContinueCalls
};

struct Session;

class TestHost {
 public:
  explicit TestHost(PluginMainProc entry, HostConfig config = {});
  // Disposes every handle and buffer still held, as a host does when it
  // unloads a plug-in.
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  HostConfig& Config();
  const HostConfig& Config() const;

  // Throws std::invalid_argument for images the 16-bit geometry can't hold.
  void SetImage(Image image);
  Image& GetImage();
  const Image& GetImage() const;
  // A selection mask of the image's size (haveMask); an empty one removes it.
  void SetSelection(Selection selection);

  // A whole run as an editor drives it: parameters (optional, and not with
  // the skipParameters quirk) → prepare → start → continue while any request
  // rectangle is non-empty → finish. Output is written into the image.
  RunReport RunFilter(const RunOptions& options = {});

  // The about selector, with an AboutRecord.
  std::int16_t About();

  // Single steps. BeginRun builds a fresh FilterRecord for the current
  // image and configuration (it is implied by the first Call otherwise);
  // Call runs one selector with it; ServePixels fills the buffers for the
  // current request rectangles as the host does between continue calls;
  // EndRun commits pending output, takes back the recorded descriptor and
  // frees the pixel buffers.
  void BeginRun();
  std::int16_t Call(std::int16_t selector);
  ps::OSErr ServePixels();
  void EndRun();
  bool InRun() const;
  ps::FilterRecord& Record();

  // Session state kept between runs.
  std::intptr_t DataWord() const;  // the low 4 bytes in a narrow slot
  void SetDataWord(std::intptr_t value);
  bool CanaryIntact() const;  // narrow slot: the upper bytes survived
  ps::Handle ParametersHandle() const;
  void SetParametersHandle(ps::Handle h);
  // The block behind the parameters handle, or null.
  void* ParametersData() const;
  template <class T>
  T* ParametersAs() const {
    return static_cast<T*>(ParametersData());
  }
  // The last descriptor the plug-in recorded at finish.
  const std::optional<Descriptor>& RecordedDescriptor() const;

  // Observation.
  const HostLog& Log() const;
  void ClearLog();
  int OutstandingHandles() const;
  int OutstandingBuffers() const;
  bool IsLiveHandle(ps::Handle h) const;
  int LockCount(ps::Handle h) const;  // -1 for an unknown handle
  int TotalHandleLocks() const;
  int TotalBufferLocks() const;
  // A handle created by the host itself, e.g. to hand over a parameters block.
  ps::Handle NewHandle(std::int32_t size);

 private:
  std::unique_ptr<Session> session_;
};

}  // namespace testhost
