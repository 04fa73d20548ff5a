#include <csignal>
#include <cstdlib>
#include <cstring>

#include "stellane/Platform.h"

namespace cli {

namespace {

volatile std::sig_atomic_t interruptSignal = 0;

// Fixed slots, so that the handler reads them without allocating.
constexpr int kSlots = 8;
constexpr std::size_t kPathBytes = 4096;
char temporaries[kSlots][kPathBytes];
volatile std::sig_atomic_t slotUsed[kSlots];

extern "C" void OnInterrupt(int signal) {
  interruptSignal = signal;
  bool any = false;
  for (int i = 0; i < kSlots; ++i) {
    if (!slotUsed[i]) continue;
    RemoveFileFromSignalHandler(temporaries[i]);
    any = true;
  }
  // Outputs were being written: stop now, leaving nothing behind. Otherwise
  // the flag cancels the plug-in's run through its abort test.
  if (any) std::_Exit(128 + signal);
}

}  // namespace

void InstallInterruptHandler() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
}

bool InterruptRequested() { return interruptSignal != 0; }

int InterruptExitCode() { return 128 + (interruptSignal != 0 ? int(interruptSignal) : SIGINT); }

void RaiseInterrupt() { std::raise(SIGINT); }

void RaiseTestSignalWhileWriting() {
  if (const char* signal = std::getenv("STELLANE_TEST_SIGNAL_WHILE_WRITING"))
    std::raise(std::atoi(signal));
}

void RememberTemporary(const std::string& path) {
  if (path.size() >= kPathBytes) return;
  for (int i = 0; i < kSlots; ++i) {
    if (slotUsed[i]) continue;
    std::memcpy(temporaries[i], path.c_str(), path.size() + 1);
    slotUsed[i] = 1;
    return;
  }
}

void ForgetTemporary(const std::string& path) {
  for (int i = 0; i < kSlots; ++i)
    if (slotUsed[i] && path == temporaries[i]) slotUsed[i] = 0;
}

}  // namespace cli
