// The arguments of the host's current call, kept process-wide so that window
// procedures and callbacks entered from the host's message loop reach them.
#pragma once

#include <cstdint>

#include "host/PluginApi.h"

namespace stellane {

struct CurrentCall {
  void* paramBlock = nullptr;  // FilterRecord, or AboutRecord for the about selector
  std::intptr_t* data = nullptr;
  std::int16_t* result = nullptr;
};

CurrentCall& TheCurrentCall();

}  // namespace stellane
