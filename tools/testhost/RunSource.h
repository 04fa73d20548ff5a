// The picture as it was at the start of a run, kept a row at a time: a row is
// copied only when output is first written over it. The plug-in is served
// the picture as it was, as an editor serves the layer it filters while the
// result goes elsewhere, and a failed run is undone from the kept rows; a
// run that writes over part of the picture keeps only that part.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "testhost/Image.h"

namespace testhost {

class RunSource {
 public:
  // A run starts on `image`: nothing is kept yet.
  void Start(const Image& image);
  // Frees every kept row (the run is over).
  void Clear();
  // Keeps row `y` of `image` as it is, unless it is kept already; call it
  // before writing over the row.
  void KeepRow(const Image& image, int y);
  // Row `y` as it was at the start: the kept copy, or the row of `image`.
  const std::uint8_t* Row(const Image& image, int y) const;
  // Writes the kept rows back into `image`: the picture as it was.
  void Restore(Image& image) const;

 private:
  std::vector<bool> kept_;                // by image row
  std::unique_ptr<std::uint8_t[]> rows_;  // the kept rows at their places
};

}  // namespace testhost
