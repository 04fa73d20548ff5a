// Four-character codes held as numbers, as hosts and our files store them.
#pragma once

#include <cstdint>

namespace stellane {

// FourCC("8BIM") = 0x3842494D.
constexpr std::uint32_t FourCC(const char (&c)[5]) {
  return (std::uint32_t(std::uint8_t(c[0])) << 24) | (std::uint32_t(std::uint8_t(c[1])) << 16) |
         (std::uint32_t(std::uint8_t(c[2])) << 8) | std::uint32_t(std::uint8_t(c[3]));
}

}  // namespace stellane
