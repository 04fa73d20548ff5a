// The four small pictures that frame every thumbnail of an HTML page: a soft
// light-grey shadow around an 88 x 88 picture, cut into a top strip, two
// sides and a bottom strip. Made by the program itself as 16-colour GIF89a
// files.
#pragma once

#include <cstdint>
#include <vector>

namespace stellane {

struct FramePiece {
  const char* fileName;
  std::int32_t width;
  std::int32_t height;
  std::int32_t left;  // where the piece sits in the whole 94 x 95 frame
  std::int32_t top;
};

constexpr std::int32_t kFramedSide = 88;  // the picture the frame surrounds
constexpr int kFramePieceCount = 4;
constexpr FramePiece kFramePieces[kFramePieceCount] = {
    {"top.gif", 94, 2, 0, 0},
    {"left.gif", 3, 88, 0, 2},
    {"right.gif", 3, 88, 91, 2},
    {"bottom.gif", 94, 5, 0, 90},
};

// The GIF89a file of one piece.
std::vector<std::uint8_t> FrameGifBytes(const FramePiece& piece);

// A GIF89a file of 16-colour pixels (one palette index 0..15 per byte).
std::vector<std::uint8_t> EncodeGif16(const std::uint8_t* indices, std::int32_t width,
                                      std::int32_t height, const std::uint8_t (&palette)[48]);

}  // namespace stellane
