// Thin wrappers over the host's callbacks and suites. Every suite is optional:
// hosts hand out suites with zero version and count but working procs
// (Affinity Photo), or a suite record whose procs are NULL (pspiHost), so we
// test the function pointers we are about to call, never the counts alone.
#pragma once

#include <cstdint>

#include "host/PluginApi.h"
#include "image/MemoryBlocks.h"

namespace stellane {

// ---- Handles (the globals block, the parameter record, descriptor handles)

bool HasHandleSuite(const ps::FilterRecord* fr);
ps::Handle NewHostHandle(const ps::FilterRecord* fr, std::int32_t size);
void DisposeHostHandle(const ps::FilterRecord* fr, ps::Handle h);
void* LockHostHandle(const ps::FilterRecord* fr, ps::Handle h);
void UnlockHostHandle(const ps::FilterRecord* fr, ps::Handle h);

// ---- Work buffers: the host's buffer suite first, the process heap after

// sourceId holds the host's BufferID when the host's suite gave the block.
using WorkBuffer = MemoryBlock;

bool HasBufferSuite(const ps::FilterRecord* fr);
// Allocates `size` bytes; the heap fallback is zero-filled. Returns false and
// leaves `buffer` empty when neither source can give the block.
bool AllocateWorkBuffer(const ps::FilterRecord* fr, std::int32_t size, WorkBuffer& buffer);
// Releases through the source the block came from; an empty buffer is fine.
void ReleaseWorkBuffer(const ps::FilterRecord* fr, WorkBuffer& buffer);
// The same two as the block source of images made during a call with `fr`.
BlockSource HostBlocks(const ps::FilterRecord* fr);

// ---- Callbacks

bool HasAdvanceState(const ps::FilterRecord* fr);
bool HasDisplayPixels(const ps::FilterRecord* fr);
ps::OSErr AdvanceState(const ps::FilterRecord* fr);
void ReportProgress(const ps::FilterRecord* fr, std::int32_t done, std::int32_t total);
bool TestAbort(const ps::FilterRecord* fr);

}  // namespace stellane
