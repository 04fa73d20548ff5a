// The star field of one row without walking the whole live list at every
// pixel. Within a row the full-size row position is fixed, so which stars
// cross the row and which are finished is known when the row starts; a pixel
// only needs the crossing stars whose square spans its column. Those are kept
// in a small window ordered like the live list, so the light adds up in the
// same order as in the list walk, and the unlinking of finished stars is
// replayed walk for walk while it can still change the list. The result is
// identical to calling SumStarLight at every pixel.
#pragma once

#include <cstdint>

#include "render/StarField.h"

namespace stellane {

class RowStars {
 public:
  RowStars(RenderContext& c, const StarRowConstants& k, float sy);

  // Same results and list upkeep as SumStarLight(sx, sy); sx must not
  // decrease from call to call.
  StarLight Sum(float sx);

  // MaybeBirthStar(sx, sy, cur), keeping the window in step.
  std::uint32_t MaybeBirth(float sx, std::uint32_t cur);

 private:
  bool Crosses(const StarRecord& s) const;
  bool Unlinkable(const StarRecord& s) const;
  int UnlinkWalk();
  void InsertByRank(std::int32_t record, std::int32_t rank);

  RenderContext& c_;
  const StarRowConstants& k_;
  float sy_;
  bool walkPending_ = true;  // the list may still hold a star to unlink
  std::int32_t bornCount_ = 0;
  std::int32_t unlinkable_ = 0;  // finished stars still in the list

  // Crossing stars in increasing x, waiting to enter the window.
  // Record numbers and list positions fit 16 bits (a pool of 6000, and at
  // most one born crossing star per free record), which halves the stack.
  std::int16_t byX_[kStarPoolSize];
  std::int32_t byXCount_ = 0;
  std::int32_t byXNext_ = 0;
  std::int16_t rank_[kStarPoolSize];  // list position of each crossing star

  // Stars that may light the current pixel, in list order.
  std::int16_t window_[kStarPoolSize];
  std::int16_t windowRank_[kStarPoolSize];
  std::int32_t windowCount_ = 0;
};

}  // namespace stellane
