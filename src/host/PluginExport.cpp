// The module's only export. Compiled into the plug-in module, not the core.
#include "host/PluginApi.h"
#include "host/PluginEntry.h"

STELLANE_EXPORT void PluginMain(std::int16_t selector, void* paramBlock, std::intptr_t* data,
                                std::int16_t* result) {
  stellane::PluginMainImpl(selector, paramBlock, data, result);
}
