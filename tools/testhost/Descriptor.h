// The scripting descriptors the test host keeps: a flat list of keyed
// integers and enumerations, in the order they were written.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace testhost {

struct DescriptorItem {
  std::uint32_t key = 0;
  std::uint32_t type = 0;  // ps::typeInteger or ps::typeEnumerated
  std::int32_t integer = 0;
  std::uint32_t enumType = 0;
  std::uint32_t enumValue = 0;
};

using Descriptor = std::vector<DescriptorItem>;

DescriptorItem IntegerItem(std::uint32_t key, std::int32_t value);
DescriptorItem EnumeratedItem(std::uint32_t key, std::uint32_t enumType, std::uint32_t value);

// The item with `key`, if the descriptor holds one.
std::optional<DescriptorItem> FindItem(const Descriptor& d, std::uint32_t key);

}  // namespace testhost
