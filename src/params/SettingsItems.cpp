#include "params/SettingsItems.h"

namespace stellane {

namespace {

constexpr int kRepeatFirst = 34;  // items 34..36 repeat 31..33 (spareColor2)
constexpr int kRepeatLast = 36;
constexpr int kRepeatDistance = 3;

struct ConstantItem {
  int item;
  ItemKind kind;
  std::int32_t since;
};

constexpr ConstantItem kConstantItems[] = {
    {44, ItemKind::Marker, 3},
    {58, ItemKind::Marker, 16},
    {66, ItemKind::OldThumbnailFlag, 22},
};

}  // namespace

SettingsItem SettingsItemAt(int item) {
  for (const ConstantItem& c : kConstantItems)
    if (c.item == item) return {c.kind, nullptr, c.since};
  if (item >= kRepeatFirst && item <= kRepeatLast) item -= kRepeatDistance;
  for (const ParamInfo& row : ParamTable())
    if (row.settingsItem == item) return {ItemKind::Value, &row, row.since};
  return {ItemKind::Marker, nullptr, 1};  // not reached: the rows fill every other item
}

}  // namespace stellane
