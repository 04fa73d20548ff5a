// The handle suite: real pointer-to-pointer handles, counted so that tests
// can find leaks and unbalanced locks.
#include <cstring>
#include <new>

#include "testhost/Session.h"

namespace testhost {

namespace {

// New blocks hold a pattern, not zeros: hosts promise nothing about them.
constexpr unsigned char kFreshFill = 0xA5;

HandleBlock* Find(Session& s, ps::Handle h, const char* what) {
  auto it = s.handles.find(h);
  if (it != s.handles.end()) return it->second.get();
  s.ProtocolError(std::string(what) + ": unknown handle");
  return nullptr;
}

ps::Handle NewProc(ps::int32 size) {
  Session* s = ActiveSession();
  if (!s) return nullptr;
  try {
    return s->AllocateHandle(size);
  } catch (...) {
    return nullptr;
  }
}

void DisposeProc(ps::Handle h) {
  Session* s = ActiveSession();
  if (!s || !h) return;
  try {
    s->DisposeHandle(h);
  } catch (...) {
  }
}

ps::int32 GetSizeProc(ps::Handle h) {
  Session* s = ActiveSession();
  if (!s) return 0;
  HandleBlock* b = Find(*s, h, "getSize");
  if (!b || s->config.quirks.handleSizeZero) return 0;
  return b->size;
}

ps::OSErr SetSizeProc(ps::Handle h, ps::int32 newSize) {
  Session* s = ActiveSession();
  if (!s) return ps::nilHandleErr;
  HandleBlock* b = Find(*s, h, "setSize");
  if (!b) return ps::nilHandleErr;
  if (newSize < 0) return ps::paramErr;
  if (s->config.quirks.handleSizeZero) return ps::noErr;  // and nothing changes
  if (b->lockCount > 0) {
    s->ProtocolError("setSize on a locked handle");
    return ps::memFullErr;
  }
  char* data = new (std::nothrow) char[std::size_t(newSize > 0 ? newSize : 1)];
  if (!data) return ps::memFullErr;
  std::memset(data, kFreshFill, std::size_t(newSize > 0 ? newSize : 1));
  std::memcpy(data, b->data, std::size_t(newSize < b->size ? newSize : b->size));
  delete[] b->data;
  b->data = data;
  b->size = newSize;
  return ps::noErr;
}

ps::Ptr LockProc(ps::Handle h, ps::Boolean) {
  Session* s = ActiveSession();
  if (!s) return nullptr;
  HandleBlock* b = Find(*s, h, "lock");
  if (!b) return nullptr;
  ++b->lockCount;
  return b->data;
}

void UnlockProc(ps::Handle h) {
  Session* s = ActiveSession();
  if (!s) return;
  HandleBlock* b = Find(*s, h, "unlock");
  if (!b) return;
  if (b->lockCount == 0) {
    s->ProtocolError("unlock of an unlocked handle");
    return;
  }
  --b->lockCount;
}

void RecoverSpaceProc(ps::int32) {}

}  // namespace

ps::Handle Session::AllocateHandle(std::int32_t size) {
  if (size < 0) return nullptr;
  if (config.handlesBeforeRefusal >= 0 && handleGrants >= config.handlesBeforeRefusal) {
    ++log.handleRefusals;
    return nullptr;
  }
  // Zero-sized handles still get a block (some hosts fail them; we do not).
  const std::size_t bytes = std::size_t(size > 0 ? size : 1);
  auto block = std::make_unique<HandleBlock>();
  block->data = new char[bytes];
  std::memset(block->data, kFreshFill, bytes);
  block->size = size;
  block->lockCount = 0;
  ps::Handle h = &block->data;
  handles.emplace(h, std::move(block));
  ++handleGrants;
  ++log.handlesAllocated;
  return h;
}

void Session::DisposeHandle(ps::Handle h) {
  auto it = handles.find(h);
  if (it == handles.end()) {
    ProtocolError("dispose: unknown handle");
    return;
  }
  delete[] it->second->data;
  handles.erase(it);
  ++log.handlesDisposed;
}

void Session::FreeAllHandles() {
  for (auto& entry : handles) delete[] entry.second->data;
  handles.clear();
}

void FillHandleProcs(ps::HandleProcs& procs) {
  procs = {};
  procs.handleProcsVersion = ps::kCurrentHandleProcsVersion;
  procs.numHandleProcs = ps::kCurrentHandleProcsCount;
  procs.newProc = NewProc;
  procs.disposeProc = DisposeProc;
  procs.getSizeProc = GetSizeProc;
  procs.setSizeProc = SetSizeProc;
  procs.lockProc = LockProc;
  procs.unlockProc = UnlockProc;
  procs.recoverSpaceProc = RecoverSpaceProc;
  procs.disposeRegularHandleProc = DisposeProc;
}

}  // namespace testhost
