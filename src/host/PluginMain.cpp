// The plug-in's one export and its dispatch on the selector.
#include <new>

#include "host/DataWord.h"
#include "host/Dispatch.h"
#include "host/HostQuirks.h"
#include "host/HostUi.h"
#include "host/PluginEntry.h"

namespace stellane {

namespace {

bool NarrowDataWord(const ps::FilterRecord* fr) { return HostHas(fr, HostQuirk::kNarrowDataWord); }

std::intptr_t AboutParentWindow(const void* paramBlock) {
  const auto* about = static_cast<const ps::AboutRecord*>(paramBlock);
  const auto* platform =
      about ? static_cast<const ps::PlatformData*>(about->platformData) : nullptr;
  return platform ? platform->hwnd : 0;
}

// Locks our globals block, creating it when the word holds none. Returns null
// (with memFullErr) when the block can't be had.
Globals* LockGlobals(ps::FilterRecord* fr, std::intptr_t* data, ps::Handle& handle,
                     bool& createdNow) {
  const bool narrow = NarrowDataWord(fr);
  handle = ReadDataWord(data, narrow);
  createdNow = handle == nullptr;
  if (createdNow) {
    handle = NewHostHandle(fr, sizeof(Globals));
    if (!handle) return nullptr;
    auto* g = static_cast<Globals*>(LockHostHandle(fr, handle));
    if (!g) {
      DisposeHostHandle(fr, handle);
      handle = nullptr;
      return nullptr;
    }
    // The host's new block may hold anything; start from a known state so
    // that no stale buffer handle is ever released.
    new (g) Globals{};
    WriteDataWord(data, handle, narrow);
    return g;
  }
  return static_cast<Globals*>(LockHostHandle(fr, handle));
}

ps::OSErr RunSelector(std::int16_t selector, Globals& g) {
  switch (selector) {
    case ps::filterSelectorParameters:
      return ParametersHandler(g);
    case ps::filterSelectorPrepare:
      return PrepareHandler(g);
    case ps::filterSelectorStart:
      return StartHandler(g);
    case ps::filterSelectorContinue:
      return ContinueHandler(g);
    case ps::filterSelectorFinish:
      return FinishHandler(g);
  }
  return ps::filterBadParameters;
}

// The call's result; PluginMainImpl hands it to the host.
ps::OSErr Call(std::int16_t selector, void* paramBlock, std::intptr_t* data) {
  if (selector == ps::filterSelectorAbout) {
    // pspiHost presets the result to 1 and reads any non-zero value as failure.
    ClearAboutBoxOpen();
    ShowAboutBox(AboutParentWindow(paramBlock));
    return ps::noErr;
  }

  auto* fr = static_cast<ps::FilterRecord*>(paramBlock);
  if (!fr || !data) return ps::filterBadParameters;
  ps::Handle globalsHandle = nullptr;
  bool createdNow = false;
  Globals* g = LockGlobals(fr, data, globalsHandle, createdNow);
  if (!g) return ps::memFullErr;
  g->filterRecord = fr;
  g->params = nullptr;

  if (selector == ps::filterSelectorParameters) g->freshGlobals = createdNow ? 1 : 0;

  ps::Handle paramsHandle = nullptr;
  ps::OSErr status = EnsureParamRecord(*g);
  if (status == ps::noErr) {
    paramsHandle = fr->parameters;
    status = RunSelector(selector, *g);
  }

  if (g->params && paramsHandle) UnlockHostHandle(fr, paramsHandle);
  g->params = nullptr;
  UnlockHostHandle(fr, globalsHandle);
  return status;
}

}  // namespace

void PluginMainImpl(std::int16_t selector, void* paramBlock, std::intptr_t* data,
                    std::int16_t* result) {
  // The one place that writes the host's result.
  if (result) *result = Call(selector, paramBlock, data);
}

}  // namespace stellane
