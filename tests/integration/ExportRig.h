// A host as the dialog's export commands see it: the filter record of an
// image of a given mode and depth, the parameter record, the run's buffers
// from the heap. Optionally a handle suite carrying a document ICC
// profile.
#pragma once

#include <cstdint>
#include <vector>

#include "host/Globals.h"
#include "host/HostServices.h"
#include "render/CrtRandom.h"
#include "render/RenderContext.h"

namespace stellane::testing {

struct ExportRig {
  ps::FilterRecord fr{};
  RenderParams params{};
  Globals g{};
  std::int16_t result = 0;
  ps::HandleProcs handles{};
  std::vector<std::uint8_t> profile;

  // depth 8, 16 or 32: RGB, RGB48 or RGB96.
  ExportRig(std::int32_t width, std::int32_t height, std::int32_t depth) {
    InitNewRenderParams(params);
    const ps::Rect16 rect = {0, 0, static_cast<std::int16_t>(height),
                             static_cast<std::int16_t>(width)};
    fr.filterRect = fr.inRect = fr.outRect = rect;
    fr.planes = 3;
    fr.depth = static_cast<std::int16_t>(depth);
    fr.imageMode = depth == 8    ? ps::plugInModeRGBColor
                   : depth == 16 ? ps::plugInModeRGB48
                                 : ps::plugInModeRGB96;
    fr.inHiPlane = fr.outHiPlane = 2;
    g.result = &result;
    g.filterRecord = &fr;
    g.params = &params;
    AllocateWorkBuffer(&fr, kRenderContextBytes, g.buffers.renderContext);
  }
  ~ExportRig() {
    ReleaseWorkBuffer(&fr, g.buffers.rowRing);
    ReleaseWorkBuffer(&fr, g.buffers.renderContext);
  }

  // A handle is a pointer to its block here; only locking is ever asked.
  void GiveProfile(std::vector<std::uint8_t> bytes) {
    profile = std::move(bytes);
    handles.newProc = [](ps::int32) -> ps::Handle { return nullptr; };
    handles.disposeProc = [](ps::Handle) {};
    handles.lockProc = [](ps::Handle h, ps::Boolean) -> ps::Ptr {
      return reinterpret_cast<ps::Ptr>(h);
    };
    handles.unlockProc = [](ps::Handle) {};
    fr.handleProcs = &handles;
    fr.iCCprofileData = reinterpret_cast<ps::Handle>(profile.data());
    fr.iCCprofileSize = static_cast<ps::int32>(profile.size());
    fr.canUseICCProfiles = 1;
  }
};

}  // namespace stellane::testing
