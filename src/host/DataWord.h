// The pointer-sized word the host keeps for us between calls, which holds the
// handle of our globals block. Hosts are not all careful with it:
// - GIMP's pspi bridge ('PMIG') passes a 4-byte slot, so writing 8 bytes
//   would overwrite its memory, and it restores a truncated value from an
//   earlier process on the next run;
// - pspiHost ('OHps') passes a fresh local slot on every run.
// So a word is trusted only when it names a globals handle this process
// created, and in 4-byte slots we store a small token instead of the pointer.
#pragma once

#include <cstdint>

#include "host/PluginApi.h"

namespace stellane {

// The globals handle named by the word, or null when the word is empty or
// holds nothing we created (then the caller starts fresh).
ps::Handle ReadDataWord(const std::intptr_t* data, bool narrowSlot);

// Remembers `globals` as ours and stores it in the word.
void WriteDataWord(std::intptr_t* data, ps::Handle globals, bool narrowSlot);

// Whether the word holds anything at all (an untrusted value counts as empty).
inline bool DataWordEmpty(const std::intptr_t* data, bool narrowSlot) {
  return ReadDataWord(data, narrowSlot) == nullptr;
}

}  // namespace stellane
