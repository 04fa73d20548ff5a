// The session: building the filter record, calling the plug-in, the run
// driver, and what the host keeps between runs.
#include "testhost/TestHost.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "testhost/Session.h"

namespace testhost {

namespace {

Session* activeSession = nullptr;

// The upper half of a narrow data slot: the plug-in must leave it alone.
constexpr std::uint64_t kCanary = 0xC0DECAFEull;
// Paint.NET's record: 554 bytes of fields, rounded up.
constexpr std::size_t kShortRecordBytes = 556;

bool EmptyRect(const ps::Rect16& r) { return r.top >= r.bottom || r.left >= r.right; }

bool AnyRequest(const ps::FilterRecord& r, const HostQuirks& quirks) {
  if (quirks.doneOnlyWhenRightIsZero)
    return r.inRect.right != 0 || r.outRect.right != 0 || r.maskRect.right != 0;
  return !EmptyRect(r.inRect) || !EmptyRect(r.outRect) || !EmptyRect(r.maskRect);
}

std::int16_t ImageModeOf(const Image& im) {
  if (im.colorPlanes == 1)
    return im.depth == 8    ? ps::plugInModeGrayScale
           : im.depth == 16 ? ps::plugInModeGray16
                            : ps::plugInModeGray32;
  return im.depth == 8    ? ps::plugInModeRGBColor
         : im.depth == 16 ? ps::plugInModeRGB48
                          : ps::plugInModeRGB96;
}

std::int16_t FilterCaseOf(const Image& im, bool haveMask, bool protectedTransparency) {
  if (!im.transparency)
    return haveMask ? ps::filterCaseFlatImageWithSelection : ps::filterCaseFlatImageNoSelection;
  if (protectedTransparency)
    return haveMask ? ps::filterCaseProtectedTransparencyWithSelection
                    : ps::filterCaseProtectedTransparencyNoSelection;
  return haveMask ? ps::filterCaseEditableTransparencyWithSelection
                  : ps::filterCaseEditableTransparencyNoSelection;
}

void ProcessEventNothing(void*) {}

class ActiveScope {
 public:
  explicit ActiveScope(Session* s) : previous_(ActiveSession()) { SetActiveSession(s); }
  ~ActiveScope() { SetActiveSession(previous_); }

 private:
  Session* previous_;
};

std::intptr_t* DataPointer(Session& s) { return reinterpret_cast<std::intptr_t*>(&s.dataSlot); }

// A narrow slot keeps only its low 4 bytes; the canary goes above them.
void SealNarrowSlot(Session& s) {
  if (s.Narrow()) s.dataSlot = (kCanary << 32) | (s.dataSlot & 0xFFFFFFFFull);
}

void CheckCanary(Session& s) {
  if (s.Narrow() && (s.dataSlot >> 32) != kCanary) s.canaryDamaged = true;
}

// The smallest rectangle inside `area` that holds every selected pixel.
Rect SelectionBounds(const Selection& sel, Rect area) {
  Rect bounds{area.bottom, area.right, area.top, area.left};
  for (int y = area.top; y < area.bottom && y < sel.height; ++y)
    for (int x = area.left; x < area.right && x < sel.width; ++x)
      if (sel.coverage[std::size_t(y) * std::size_t(sel.width) + std::size_t(x)] != 0)
        bounds = {std::min(bounds.top, y), std::min(bounds.left, x), std::max(bounds.bottom, y + 1),
                  std::max(bounds.right, x + 1)};
  return bounds.top < bounds.bottom ? bounds : Rect{};
}

// What the host itself does with a selection it did not hand over as a
// mask: the source where nothing is selected, the result where all is, a
// mix by coverage in between.
void MixBySelection(const Image& source, const Selection& sel, Image& image) {
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const int coverage = sel.coverage[std::size_t(y) * std::size_t(sel.width) + std::size_t(x)];
      for (int p = 0; p < image.Planes() && coverage != 255; ++p) {
        const double from = source.Get(x, y, p);
        image.Set(x, y, p, from + (image.Get(x, y, p) - from) * coverage / 255.0);
      }
    }
}

// The picture as it was at the start of the run.
Image StartImage(const Session& s) {
  Image start = s.image;
  s.runSource.Restore(start);
  return start;
}

ps::RGBColor HostRgb(const ps::RGBColor& c, const HostQuirks& quirks) {
  if (!quirks.eightBitRgbColors) return c;
  return {std::uint16_t(c.red >> 8), std::uint16_t(c.green >> 8), std::uint16_t(c.blue >> 8)};
}

void FillImageFields(Session& s, ps::FilterRecord& r) {
  const Image& im = s.image;
  const HostConfig& c = s.config;
  Rect area = c.filterRect.value_or(Rect{0, 0, im.height, im.width});
  const bool hostMasks = c.quirks.selectionOnlyNarrowsFilterRect && !s.selection.Empty();
  if (hostMasks) area = SelectionBounds(s.selection, area);
  const bool haveMask = !s.selection.Empty() && !hostMasks;
  r.imageSize = {std::int16_t(im.height), std::int16_t(im.width)};
  r.wholeSize = r.imageSize;
  r.planes = std::int16_t(im.Planes());
  r.filterRect = {std::int16_t(area.top), std::int16_t(area.left), std::int16_t(area.bottom),
                  std::int16_t(area.right)};
  r.imageMode = c.imageMode >= 0 ? std::int16_t(c.imageMode) : ImageModeOf(im);
  r.depth = im.depth;
  r.haveMask = haveMask;
  r.autoMask = haveMask;
  r.filterCase = c.quirks.filterCaseZero ? std::int16_t(ps::filterCaseNotSet)
                                         : FilterCaseOf(im, haveMask, c.protectedTransparency);
  const std::int16_t colour = std::int16_t(im.colorPlanes);
  if (im.transparency) {
    r.inLayerPlanes = r.absLayerPlanes = r.outLayerPlanes = colour;
    r.inTransparencyMask = r.absTransparencyMask = 1;
    r.outTransparencyMask = c.protectedTransparency ? 0 : 1;
  } else {
    r.inNonLayerPlanes = r.absNonLayerPlanes = r.outNonLayerPlanes = colour;
  }
  r.imageHRes = r.imageVRes = 72 * ps::kFixedOne;
  r.background = HostRgb(c.background, c.quirks);
  r.foreground = HostRgb(c.foreground, c.quirks);
  const ps::RGBColor* colours[2] = {&c.background, &c.foreground};
  ps::FilterColor* targets[2] = {&r.backColor, &r.foreColor};
  for (int i = 0; i < 2; ++i) {
    const int red = colours[i]->red >> 8, green = colours[i]->green >> 8,
              blue = colours[i]->blue >> 8;
    if (im.colorPlanes == 3) {
      (*targets[i])[0] = std::uint8_t(red);
      (*targets[i])[1] = std::uint8_t(green);
      (*targets[i])[2] = std::uint8_t(blue);
    } else {
      (*targets[i])[0] = std::uint8_t((77 * red + 150 * green + 28 * blue) >> 8);
    }
  }
}

void FillDescriptorParameters(Session& s) {
  ps::PIDescriptorParameters& d = s.descriptorParameters;
  HostConfig& c = s.config;
  d = {};
  d.descriptorParametersVersion = 0;
  if (c.quirks.nullDescriptorProcs) return;  // pspiHost: playInfo 0, no procs
  d.playInfo = c.playInfo;
  d.recordInfo = c.recordInfo;
  d.readDescriptorProcs = &s.readProcs;
  d.writeDescriptorProcs = &s.writeProcs;
  if (c.descriptorToPlay) {
    d.descriptor = EncodeDescriptor(s, *c.descriptorToPlay);
    c.descriptorToPlay.reset();
  }
}

}  // namespace

Session* ActiveSession() { return activeSession; }
void SetActiveSession(Session* session) { activeSession = session; }

Session::~Session() {
  FreeDescriptorTokens();
  FreeAllHandles();
  FreeAllBuffers();
  if (activeSession == this) activeSession = nullptr;
}

void Session::ProtocolError(std::string message) {
  try {
    log.protocolErrors.push_back(std::move(message));
  } catch (...) {
  }
}

void Session::FillSuites() {
  FillHandleProcs(handleProcs);
  FillBufferProcs(bufferProcs);
  FillReadDescriptorProcs(readProcs);
  FillWriteDescriptorProcs(writeProcs);
  if (config.quirks.bufferSlotsBeyondFiveNull) {  // GIMP's pspi
    bufferProcs.reserveProc = nullptr;
    bufferProcs.allocateProc64 = nullptr;
    bufferProcs.spaceProc64 = nullptr;
  }
  if (config.quirks.zeroSuiteVersions) {  // Affinity Photo
    handleProcs.handleProcsVersion = handleProcs.numHandleProcs = 0;
    bufferProcs.bufferProcsVersion = bufferProcs.numBufferProcs = 0;
  }
  platform.hwnd = config.parentWindow;
  FillSilentPropertyProcs(propertyProcs);
}

TestHost::TestHost(PluginMainProc entry, HostConfig config) : session_(new Session) {
  session_->entry = entry;
  session_->config = std::move(config);
}

TestHost::~TestHost() {
  if (InRun()) EndRun();
}

HostConfig& TestHost::Config() { return session_->config; }
const HostConfig& TestHost::Config() const { return session_->config; }

void TestHost::SetImage(Image image) {
  // The record's geometry is 16-bit.
  if (image.width > 32767 || image.height > 32767)
    throw std::invalid_argument("image larger than 32767 pixels");
  session_->image = std::move(image);
  if (InRun()) session_->runSource.Start(session_->image);  // the new picture is the source
}
Image& TestHost::GetImage() { return session_->image; }
const Image& TestHost::GetImage() const { return session_->image; }
void TestHost::SetSelection(Selection selection) { session_->selection = std::move(selection); }

bool TestHost::InRun() const { return session_->fr != nullptr; }

ps::FilterRecord& TestHost::Record() {
  if (!InRun()) BeginRun();
  return *session_->fr;
}

void TestHost::BeginRun() {
  Session& s = *session_;
  if (InRun()) EndRun();
  ActiveScope scope(&s);
  s.FillSuites();
  if (s.config.quirks.freshDataWordEachRun) s.dataSlot = 0;
  if (s.config.quirks.freshParametersEachRun) s.parameters = nullptr;
  SealNarrowSlot(s);
  s.runSource.Start(s.image);

  const HostConfig& c = s.config;
  // Exactly as long as the host says, so that a read past it is caught.
  s.recordStorage = std::vector<std::uint8_t>(
      c.quirks.shortRecord ? kShortRecordBytes : sizeof(ps::FilterRecord), 0);
  s.fr = reinterpret_cast<ps::FilterRecord*>(s.recordStorage.data());
  ps::FilterRecord& r = *s.fr;
  r.abortProc = c.offerAbort ? AbortCallback : nullptr;
  r.progressProc = c.offerProgress ? ProgressCallback : nullptr;
  r.parameters = s.parameters;
  FillImageFields(s, r);
  r.maxSpace = c.maxSpace;
  r.hostSig = c.hostSig;
  r.monitor.gamma = 0x1CCCC;  // 1.8
  r.platformData = &s.platform;
  r.bufferProcs = c.offerBufferSuite ? &s.bufferProcs : nullptr;
  r.processEvent = ProcessEventNothing;
  r.displayPixels = c.offerDisplayPixels ? DisplayPixelsCallback : nullptr;
  r.handleProcs = c.offerHandleSuite ? &s.handleProcs : nullptr;
  r.dummyPlaneValue = -1;
  r.advanceState = c.offerAdvanceState ? AdvanceStateCallback : nullptr;
  r.supportsPadding = c.supportsPadding;
  r.samplingSupport = c.samplingSupport;
  r.inputRate = r.maskRate = c.quirks.ratesPresetZero ? 0 : ps::kFixedOne;
  r.colorServices = c.offerColorServices ? ColorServicesCallback : nullptr;
  r.inTileHeight = r.inTileWidth = r.outTileHeight = r.outTileWidth = 256;
  r.maskTileHeight = r.maskTileWidth = r.absTileHeight = r.absTileWidth = 256;
  if (c.offerDescriptorSuite) {
    FillDescriptorParameters(s);
    r.descriptorParameters = &s.descriptorParameters;
  }
  if (c.quirks.propertiesAnswerNothing) r.propertyProcs = &s.propertyProcs;
  r.errorString = c.quirks.noErrorString ? nullptr : &s.errorString;
  if (c.quirks.bufferSpacePreset) r.bufferSpace = c.maxSpace;
  if (!c.quirks.shortRecord) {
    r.maxSpace64 = c.maxSpace;
    r.bufferSpace64 = 0;
  }
}

std::int16_t TestHost::Call(std::int16_t selector) {
  if (selector == ps::filterSelectorAbout) return About();
  Session& s = *session_;
  if (!InRun()) BeginRun();
  ActiveScope scope(&s);
  s.result = 0;
  s.entry(selector, s.fr, DataPointer(s), &s.result);
  s.parameters = s.fr->parameters;
  CheckCanary(s);
  return s.result;
}

std::int16_t TestHost::About() {
  Session& s = *session_;
  ActiveScope scope(&s);
  s.platform.hwnd = s.config.parentWindow;
  if (!s.fr) SealNarrowSlot(s);
  ps::AboutRecord about{};
  about.platformData = &s.platform;
  s.result = s.config.quirks.aboutResultPresetOne ? 1 : 0;
  s.entry(ps::filterSelectorAbout, &about, DataPointer(s), &s.result);
  CheckCanary(s);
  return s.result;
}

ps::OSErr TestHost::ServePixels() {
  Session& s = *session_;
  if (!InRun()) return ps::paramErr;
  ActiveScope scope(&s);
  try {
    return s.ExchangePixels(false);
  } catch (...) {
    return ps::memFullErr;
  }
}

void TestHost::EndRun() {
  Session& s = *session_;
  if (!InRun()) return;
  ActiveScope scope(&s);
  s.CommitOutput();
  // Whatever descriptor the record holds now is the host's again: a freshly
  // written one is kept as the run's recording.
  const ps::Handle descriptor = s.descriptorParameters.descriptor;
  if (descriptor && s.fr->descriptorParameters) {
    if (descriptor == s.writtenDescriptor) {
      s.recorded = DecodeDescriptor(s, descriptor);
      if (s.config.playBackRecorded) s.config.descriptorToPlay = s.recorded;
    }
    if (s.handles.count(descriptor)) s.DisposeHandle(descriptor);
  }
  s.descriptorParameters.descriptor = nullptr;
  s.writtenDescriptor = nullptr;
  if (!s.readers.empty() || !s.writers.empty()) {
    s.ProtocolError("descriptor reader or writer left open");
    s.FreeDescriptorTokens();
  }
  s.ReleasePixelBuffers();
  s.parameters = s.fr->parameters;
  s.fr = nullptr;
  s.recordStorage = {};
  s.runSource.Clear();
}

RunReport TestHost::RunFilter(const RunOptions& options) {
  Session& s = *session_;
  RunReport report;
  BeginRun();
  const int advanceBefore = s.log.advanceStateCalls;
  const std::size_t requestsBefore = s.log.requests.size();
  const int rowsBefore = s.log.rowsDelivered;

  auto call = [&](std::int16_t selector) {
    const std::int16_t result = Call(selector);
    report.calls.push_back({selector, result});
    if (result != 0 && report.result == 0) report.result = result;
    return result;
  };

  bool ok = true;
  const HostQuirks& quirks = s.config.quirks;
  if ((options.withParameters || quirks.parametersEveryRun) && !quirks.skipParameters) {
    report.parametersCalled = true;
    report.parametersResult = call(ps::filterSelectorParameters);
    ok = report.parametersResult == 0;
  }
  if (ok) {
    report.prepareResult = call(ps::filterSelectorPrepare);
    ok = report.prepareResult == 0;
  }
  bool started = false;
  if (ok) {
    report.startResult = call(ps::filterSelectorStart);
    ok = started = report.startResult == 0;
  }
  while (ok && AnyRequest(*s.fr, s.config.quirks)) {
    if (report.continueCalls >= s.config.maxContinueCalls) {
      report.hitCallCap = true;
      ok = false;
      break;
    }
    const ps::OSErr served = ServePixels();
    if (served != ps::noErr) {
      if (report.result == 0) report.result = served;
      ok = false;
      break;
    }
    ++report.continueCalls;
    report.lastContinueResult = call(ps::filterSelectorContinue);
    ok = report.lastContinueResult == 0;
  }
  if (ok) {
    s.CommitOutput();
    if (quirks.hostAppliesSelection && !s.selection.Empty())
      MixBySelection(StartImage(s), s.selection, s.image);
  } else {
    // A failed or cancelled run leaves the picture as it was.
    s.outputPending = false;
    s.runSource.Restore(s.image);
  }
  if (started && !(ok && s.config.quirks.noFinishAfterSuccess)) {
    report.finishCalled = true;
    report.finishResult = call(ps::filterSelectorFinish);
  }
  EndRun();
  report.advanceStateCalls = s.log.advanceStateCalls - advanceBefore;
  report.pixelRequests = int(s.log.requests.size() - requestsBefore);
  report.rowsDelivered = s.log.rowsDelivered - rowsBefore;
  return report;
}

std::intptr_t TestHost::DataWord() const {
  const Session& s = *session_;
  return s.Narrow() ? std::intptr_t(std::uint32_t(s.dataSlot)) : std::intptr_t(s.dataSlot);
}

void TestHost::SetDataWord(std::intptr_t value) {
  Session& s = *session_;
  s.dataSlot = s.Narrow() ? (kCanary << 32) | std::uint32_t(value) : std::uint64_t(value);
}

bool TestHost::CanaryIntact() const { return !session_->canaryDamaged; }

ps::Handle TestHost::ParametersHandle() const {
  const Session& s = *session_;
  if (!s.fr) return s.parameters;
  const ps::Handle h = s.fr->parameters;  // a packed field: read by value
  return h;
}

void TestHost::SetParametersHandle(ps::Handle h) {
  Session& s = *session_;
  s.parameters = h;
  if (s.fr) s.fr->parameters = h;
}

void* TestHost::ParametersData() const {
  const ps::Handle h = ParametersHandle();
  return h && IsLiveHandle(h) ? *h : nullptr;
}

const std::optional<Descriptor>& TestHost::RecordedDescriptor() const { return session_->recorded; }

const HostLog& TestHost::Log() const { return session_->log; }
void TestHost::ClearLog() { session_->log = HostLog{}; }

int TestHost::OutstandingHandles() const { return int(session_->handles.size()); }
int TestHost::OutstandingBuffers() const { return int(session_->buffers.size()); }

bool TestHost::IsLiveHandle(ps::Handle h) const { return session_->handles.count(h) != 0; }

int TestHost::LockCount(ps::Handle h) const {
  auto it = session_->handles.find(h);
  return it == session_->handles.end() ? -1 : it->second->lockCount;
}

int TestHost::TotalHandleLocks() const {
  int total = 0;
  for (const auto& entry : session_->handles) total += entry.second->lockCount;
  return total;
}

int TestHost::TotalBufferLocks() const {
  int total = 0;
  for (const auto& entry : session_->buffers) total += entry.second->lockCount;
  return total;
}

ps::Handle TestHost::NewHandle(std::int32_t size) { return session_->AllocateHandle(size); }

}  // namespace testhost
