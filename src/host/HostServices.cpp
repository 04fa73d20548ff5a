#include "host/HostServices.h"

#include <cstdlib>

namespace stellane {

bool HasHandleSuite(const ps::FilterRecord* fr) {
  const ps::HandleProcs* procs = fr ? fr->handleProcs : nullptr;
  return procs && procs->newProc && procs->disposeProc && procs->lockProc && procs->unlockProc;
}

ps::Handle NewHostHandle(const ps::FilterRecord* fr, std::int32_t size) {
  if (!HasHandleSuite(fr) || size <= 0) return nullptr;
  return fr->handleProcs->newProc(size);
}

void DisposeHostHandle(const ps::FilterRecord* fr, ps::Handle h) {
  if (h && HasHandleSuite(fr)) fr->handleProcs->disposeProc(h);
}

void* LockHostHandle(const ps::FilterRecord* fr, ps::Handle h) {
  if (!h || !HasHandleSuite(fr)) return nullptr;
  return fr->handleProcs->lockProc(h, false);
}

void UnlockHostHandle(const ps::FilterRecord* fr, ps::Handle h) {
  if (h && HasHandleSuite(fr)) fr->handleProcs->unlockProc(h);
}

bool HasBufferSuite(const ps::FilterRecord* fr) {
  const ps::BufferProcs* procs = fr ? fr->bufferProcs : nullptr;
  return procs && procs->allocateProc && procs->lockProc && procs->unlockProc && procs->freeProc;
}

bool AllocateWorkBuffer(const ps::FilterRecord* fr, std::int32_t size, WorkBuffer& buffer) {
  buffer = WorkBuffer{};
  if (size <= 0) return false;
  if (HasBufferSuite(fr)) {
    ps::BufferID id = nullptr;
    if (fr->bufferProcs->allocateProc(size, &id) == ps::noErr && id) {
      if (void* data = fr->bufferProcs->lockProc(id, false)) {
        buffer.sourceId = id;
        buffer.data = data;
        buffer.size = size;
        return true;
      }
      fr->bufferProcs->freeProc(id);
    }
  }
  return AllocateHeapBlock(size, buffer);
}

void ReleaseWorkBuffer(const ps::FilterRecord* fr, WorkBuffer& buffer) {
  if (buffer.sourceId && HasBufferSuite(fr)) {
    const auto id = static_cast<ps::BufferID>(buffer.sourceId);
    fr->bufferProcs->unlockProc(id);
    fr->bufferProcs->freeProc(id);
  }
  ReleaseHeapBlock(buffer);
}

BlockSource HostBlocks(const ps::FilterRecord* fr) {
  BlockSource source;
  source.allocate = [](const void* context, std::int32_t size, MemoryBlock& block) {
    return AllocateWorkBuffer(static_cast<const ps::FilterRecord*>(context), size, block);
  };
  source.release = [](const void* context, MemoryBlock& block) {
    ReleaseWorkBuffer(static_cast<const ps::FilterRecord*>(context), block);
  };
  source.context = fr;
  return source;
}

bool HasAdvanceState(const ps::FilterRecord* fr) { return fr && fr->advanceState; }

bool HasDisplayPixels(const ps::FilterRecord* fr) { return fr && fr->displayPixels; }

ps::OSErr AdvanceState(const ps::FilterRecord* fr) {
  return HasAdvanceState(fr) ? fr->advanceState() : ps::OSErr(ps::noErr);
}

void ReportProgress(const ps::FilterRecord* fr, std::int32_t done, std::int32_t total) {
  if (fr && fr->progressProc) fr->progressProc(done, total);
}

bool TestAbort(const ps::FilterRecord* fr) { return fr && fr->abortProc && fr->abortProc(); }

}  // namespace stellane
