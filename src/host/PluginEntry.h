// The body of the module's export `PluginMain`. The module exports it under
// that name (PluginExport.cpp); programs that link the core directly, like
// our tests, call it here.
#pragma once

#include <cstdint>

namespace stellane {

void PluginMainImpl(std::int16_t selector, void* paramBlock, std::intptr_t* data,
                    std::int16_t* result);

}  // namespace stellane
