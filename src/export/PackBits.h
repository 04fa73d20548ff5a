// PackBits run-length coding (Apple's scheme, as PSD and TIFF use it): a
// header byte n of 0..127 is followed by n + 1 literal bytes, one of -1..-127
// by one byte repeated 1 - n times; -128 is never written.
#pragma once

#include <cstddef>
#include <cstdint>

namespace stellane {

// The most bytes PackBits can make of `size` bytes: one header per 128.
constexpr std::size_t PackBitsBound(std::size_t size) { return size + (size + 127) / 128; }

// Encodes `size` bytes into `out` (at least PackBitsBound(size) bytes) and
// returns the encoded length.
std::size_t PackBitsEncode(const std::uint8_t* data, std::size_t size, std::uint8_t* out);

}  // namespace stellane
