#include "image/MemoryBlocks.h"

#include <cstdlib>

namespace stellane {

bool AllocateHeapBlock(std::int32_t size, MemoryBlock& block) {
  block = MemoryBlock{};
  if (size <= 0) return false;
  void* heap = std::calloc(1, std::size_t(size));
  if (!heap) return false;
  block.heapBlock = block.data = heap;
  block.size = size;
  return true;
}

void ReleaseHeapBlock(MemoryBlock& block) {
  std::free(block.heapBlock);
  block = MemoryBlock{};
}

bool AllocateBlock(const BlockSource& source, std::int32_t size, MemoryBlock& block) {
  if (source.allocate) return source.allocate(source.context, size, block);
  return AllocateHeapBlock(size, block);
}

void ReleaseBlock(const BlockSource& source, MemoryBlock& block) {
  if (source.release) {
    source.release(source.context, block);
  } else {
    ReleaseHeapBlock(block);
  }
}

}  // namespace stellane
