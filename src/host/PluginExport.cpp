// The module's exports. Compiled into the plug-in module, not the core.
// Editors call PluginMain only; `stellane --seed` also looks up
// StellaneFixStarSeed to make its renders repeatable.
#include "host/Dispatch.h"
#include "host/PluginApi.h"
#include "host/PluginEntry.h"

STELLANE_EXPORT void PluginMain(std::int16_t selector, void* paramBlock, std::intptr_t* data,
                                std::int16_t* result) {
  stellane::PluginMainImpl(selector, paramBlock, data, result);
}

STELLANE_EXPORT void StellaneFixStarSeed(std::uint32_t seed) { stellane::FixStarSeed(seed); }
