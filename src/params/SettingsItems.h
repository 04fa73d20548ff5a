// The items of a version-50 settings file: each holds a parameter row, or
// is one of the few constant items between them.
#pragma once

#include <cstdint>

#include "params/ParamTable.h"

namespace stellane {

constexpr int kFirstValueItem = 2;  // item 1 is the version
constexpr int kLastValueItem = 69;

enum class ItemKind : std::uint8_t {
  Value,             // a parameter (items 34-36 hold spareColor2 a second time)
  Marker,            // written as 1, passed over when read
  OldThumbnailFlag,  // written as 0; older versions keep a raw thumbnail here
};

struct SettingsItem {
  ItemKind kind;
  const ParamInfo* row;  // Value items
  std::int32_t since;    // the first file version that holds the item
};

// The item `item` (kFirstValueItem..kLastValueItem).
SettingsItem SettingsItemAt(int item);

}  // namespace stellane
