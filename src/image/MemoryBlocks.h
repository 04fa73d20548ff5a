// Memory blocks and where they come from. Images take their blocks from a
// BlockSource: the plug-in backs it with the host's buffer suite, everyone
// else leaves it empty and gets the heap.
#pragma once

#include <cstdint>

namespace stellane {

struct MemoryBlock {
  void* sourceId = nullptr;   // the source's own name of the block (a host buffer)
  void* heapBlock = nullptr;  // set when the block came from the heap
  void* data = nullptr;       // usable address, null when not allocated
  std::int32_t size = 0;
};

// A source of blocks: both procs, or neither (the heap). `context` is handed
// to both.
struct BlockSource {
  bool (*allocate)(const void* context, std::int32_t size, MemoryBlock& block) = nullptr;
  void (*release)(const void* context, MemoryBlock& block) = nullptr;
  const void* context = nullptr;
};

// Allocates `size` bytes from the source, or zero-filled from the heap when
// it has no procs. Returns false and leaves `block` empty when the block
// cannot be had.
bool AllocateBlock(const BlockSource& source, std::int32_t size, MemoryBlock& block);
// Gives the block back to where it came from; an empty block is fine.
void ReleaseBlock(const BlockSource& source, MemoryBlock& block);

// The heap alone, for sources that fall back to it.
bool AllocateHeapBlock(std::int32_t size, MemoryBlock& block);
void ReleaseHeapBlock(MemoryBlock& block);

}  // namespace stellane
