// The buffer suite, counted like the handles, with a switch to refuse.
#include <cstring>
#include <new>

#include "testhost/Session.h"

namespace testhost {

namespace {

constexpr unsigned char kFreshFill = 0x5A;

BufferBlock* Find(Session& s, ps::BufferID id, const char* what) {
  auto it = s.buffers.find(id);
  if (it != s.buffers.end()) return it->second.get();
  s.ProtocolError(std::string(what) + ": unknown buffer");
  return nullptr;
}

ps::OSErr Allocate(std::int64_t size, ps::BufferID* id) {
  Session* s = ActiveSession();
  if (!s || !id) return ps::paramErr;
  *id = nullptr;
  if (size < 0) return ps::paramErr;
  const HostConfig& c = s->config;
  if ((c.buffersBeforeRefusal >= 0 && s->bufferGrants >= c.buffersBeforeRefusal) ||
      size > c.maxSpace) {
    ++s->log.bufferRefusals;
    return ps::memFullErr;
  }
  try {
    auto block = std::make_unique<BufferBlock>();
    const std::size_t bytes = std::size_t(size > 0 ? size : 1);
    block->data.reset(new char[bytes]);
    std::memset(block->data.get(), kFreshFill, bytes);
    block->size = std::int32_t(size);
    block->lockCount = 0;
    *id = reinterpret_cast<ps::BufferID>(block.get());
    s->buffers.emplace(*id, std::move(block));
  } catch (...) {
    *id = nullptr;
    return ps::memFullErr;
  }
  ++s->bufferGrants;
  ++s->log.buffersAllocated;
  return ps::noErr;
}

ps::OSErr AllocateProc(ps::int32 size, ps::BufferID* id) { return Allocate(size, id); }
ps::OSErr AllocateProc64(ps::int64 size, ps::BufferID* id) { return Allocate(size, id); }

ps::Ptr LockProc(ps::BufferID id, ps::Boolean) {
  Session* s = ActiveSession();
  if (!s) return nullptr;
  BufferBlock* b = Find(*s, id, "buffer lock");
  if (!b) return nullptr;
  ++b->lockCount;
  return b->data.get();
}

void UnlockProc(ps::BufferID id) {
  Session* s = ActiveSession();
  if (!s) return;
  BufferBlock* b = Find(*s, id, "buffer unlock");
  if (!b) return;
  if (b->lockCount == 0) {
    s->ProtocolError("unlock of an unlocked buffer");
    return;
  }
  --b->lockCount;
}

void FreeProc(ps::BufferID id) {
  Session* s = ActiveSession();
  if (!s) return;
  auto it = s->buffers.find(id);
  if (it == s->buffers.end()) {
    s->ProtocolError("free: unknown buffer");
    return;
  }
  s->buffers.erase(it);
  ++s->log.buffersFreed;
}

ps::int32 SpaceProc() {
  Session* s = ActiveSession();
  return s ? s->config.maxSpace : 0;
}

ps::int64 SpaceProc64() { return SpaceProc(); }

ps::OSErr ReserveProc(ps::int32) { return ps::noErr; }

}  // namespace

void Session::FreeAllBuffers() { buffers.clear(); }

void FillBufferProcs(ps::BufferProcs& procs) {
  procs = {};
  procs.bufferProcsVersion = ps::kCurrentBufferProcsVersion;
  procs.numBufferProcs = ps::kCurrentBufferProcsCount;
  procs.allocateProc = AllocateProc;
  procs.lockProc = LockProc;
  procs.unlockProc = UnlockProc;
  procs.freeProc = FreeProc;
  procs.spaceProc = SpaceProc;
  procs.reserveProc = ReserveProc;
  procs.allocateProc64 = AllocateProc64;
  procs.spaceProc64 = SpaceProc64;
}

}  // namespace testhost
