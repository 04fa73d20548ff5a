#include "stellane/FilterRun.h"

#include <cstdio>
#include <cstdlib>

#include "stellane/Platform.h"

namespace cli {

namespace {

// The plug-in's callbacks carry no context: the run's state lives here for
// the one run in progress.
bool drawProgress = false;
int lastPercent = -1;
int abortCalls = 0;
int interruptAtAbortCall = -1;

void DrawBar(int percent) {
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  char bar[kWidth + 1];
  for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '-';
  bar[kWidth] = '\0';
  std::fprintf(stderr, "\rRendering [%s] %3d%%", bar, percent);
  std::fflush(stderr);
}

void OnProgress(std::int32_t done, std::int32_t total) {
  if (!drawProgress || total <= 0) return;
  long long percent = (long long)(done)*100 / total;
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  if (int(percent) == lastPercent) return;
  lastPercent = int(percent);
  DrawBar(lastPercent);
}

ps::Boolean OnAbortTest() {
  ++abortCalls;
  // Tests stand in for the user's Ctrl-C at a chosen moment of the run.
  if (abortCalls == interruptAtAbortCall) RaiseInterrupt();
  return InterruptRequested() ? 1 : 0;
}

bool AnyRequest(const ps::FilterRecord& r) {
  auto empty = [](const ps::Rect16& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
  };
  return !empty(r.inRect) || !empty(r.outRect) || !empty(r.maskRect);
}

}  // namespace

FilterRunResult RunFilterOnce(testhost::TestHost& host, bool withDialog, bool showProgress) {
  drawProgress = showProgress;
  lastPercent = -1;
  abortCalls = 0;
  const char* hook = std::getenv("STELLANE_TEST_INTERRUPT_AT");
  interruptAtAbortCall = hook ? std::atoi(hook) : -1;

  FilterRunResult run;
  host.BeginRun();
  ps::FilterRecord& record = host.Record();
  record.progressProc = OnProgress;
  record.abortProc = OnAbortTest;

  auto call = [&](std::int16_t selector) {
    const std::int16_t result = host.Call(selector);
    if (result != 0 && run.result == 0) run.result = result;
    return result == 0;
  };
  bool ok = !withDialog || call(ps::filterSelectorParameters);
  ok = ok && call(ps::filterSelectorPrepare);
  const bool started = ok && call(ps::filterSelectorStart);
  ok = started;
  while (ok && AnyRequest(host.Record())) {
    const ps::OSErr served = host.ServePixels();
    if (served != ps::noErr) {
      if (run.result == 0) run.result = served;
      ok = false;
      break;
    }
    ok = call(ps::filterSelectorContinue);
  }
  if (started) call(ps::filterSelectorFinish);
  host.EndRun();
  if (showProgress && lastPercent >= 0) {
    if (ok && lastPercent < 100) DrawBar(100);  // progress is reported every few rows only
    std::fputc('\n', stderr);
  }
  run.cancelled = InterruptRequested() || run.result == ps::userCanceledErr;
  return run;
}

}  // namespace cli
