#include "host/DataWord.h"

#include <cstring>

namespace stellane {

namespace {

// Globals handles created by this process. A host rarely keeps more than a
// few instances; when the list is full the oldest entry gives way.
// Process-wide by the host contract: the registry decides which data word
// names an instance at all, so it cannot live in one.
constexpr int kKnownHandles = 32;
ps::Handle knownHandles[kKnownHandles];
int knownCount = 0;
int nextSlot = 0;

// Tokens stored in 4-byte slots: a tag in the high byte, the list index below.
constexpr std::uint32_t kTokenTag = 0x53000000u;
constexpr std::uint32_t kTokenTagMask = 0xFF000000u;

int IndexOf(ps::Handle h) {
  for (int i = 0; i < knownCount; ++i)
    if (knownHandles[i] == h) return i;
  return -1;
}

int Remember(ps::Handle h) {
  int index = IndexOf(h);
  if (index >= 0) return index;
  index = nextSlot;
  knownHandles[index] = h;
  nextSlot = (nextSlot + 1) % kKnownHandles;
  if (knownCount < kKnownHandles) ++knownCount;
  return index;
}

}  // namespace

ps::Handle ReadDataWord(const std::intptr_t* data, bool narrowSlot) {
  if (!data) return nullptr;
  if (narrowSlot) {
    std::uint32_t token;
    std::memcpy(&token, data, sizeof token);
    if ((token & kTokenTagMask) != kTokenTag) return nullptr;
    const std::uint32_t index = token & ~kTokenTagMask;
    return index < std::uint32_t(knownCount) ? knownHandles[index] : nullptr;
  }
  const auto h = reinterpret_cast<ps::Handle>(*data);
  return h && IndexOf(h) >= 0 ? h : nullptr;
}

void WriteDataWord(std::intptr_t* data, ps::Handle globals, bool narrowSlot) {
  if (!data) return;
  const int index = Remember(globals);
  if (narrowSlot) {
    const std::uint32_t token = kTokenTag | std::uint32_t(index);
    std::memcpy(data, &token, sizeof token);
    return;
  }
  *data = reinterpret_cast<std::intptr_t>(globals);
}

}  // namespace stellane
