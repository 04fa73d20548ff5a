#include "testhost/Descriptor.h"

#include "host/PluginApi.h"

namespace testhost {

DescriptorItem IntegerItem(std::uint32_t key, std::int32_t value) {
  DescriptorItem item;
  item.key = key;
  item.type = ps::typeInteger;
  item.integer = value;
  return item;
}

DescriptorItem EnumeratedItem(std::uint32_t key, std::uint32_t enumType, std::uint32_t value) {
  DescriptorItem item;
  item.key = key;
  item.type = ps::typeEnumerated;
  item.enumType = enumType;
  item.enumValue = value;
  return item;
}

std::optional<DescriptorItem> FindItem(const Descriptor& d, std::uint32_t key) {
  for (const DescriptorItem& item : d)
    if (item.key == key) return item;
  return std::nullopt;
}

}  // namespace testhost
