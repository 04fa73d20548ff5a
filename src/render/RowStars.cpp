#include "render/RowStars.h"

#include <algorithm>
#include <cmath>

namespace stellane {

RowStars::RowStars(RenderContext& c, const StarRowConstants& k, float sy) : c_(c), k_(k), sy_(sy) {
  std::int32_t position = 0;
  for (std::int32_t s = c_.starPool[0].next; s != -1; s = c_.starPool[s].next, ++position) {
    const StarRecord& star = c_.starPool[s];
    if (Unlinkable(star)) ++unlinkable_;
    // A star whose left edge is NaN never lights anything.
    if (!Crosses(star) || std::isnan(star.x)) continue;
    rank_[s] = static_cast<std::int16_t>(position);
    byX_[byXCount_++] = static_cast<std::int16_t>(s);
  }
  std::sort(byX_, byX_ + byXCount_, [this](std::int16_t a, std::int16_t b) {
    const float xa = c_.starPool[a].x;
    const float xb = c_.starPool[b].x;
    return xa < xb || (xa == xb && rank_[a] < rank_[b]);
  });
}

bool RowStars::Crosses(const StarRecord& s) const {
  const float dy = sy_ - s.y;
  return dy >= 0.0f && s.size > dy;
}

// Finished above this row: the walk unlinks it when its predecessor is active.
bool RowStars::Unlinkable(const StarRecord& s) const { return !Crosses(s) && sy_ - s.y > 0.0f; }

// The list walk's unlinking, without the light: a finished star is unlinked
// when its predecessor in the walk is still active.
int RowStars::UnlinkWalk() {
  int unlinked = 0;
  std::int32_t prev = 0;
  std::int32_t s = c_.starPool[0].next;
  while (s != -1) {
    StarRecord& star = c_.starPool[s];
    if (Unlinkable(star) && c_.starPool[prev].active) {
      c_.starPool[prev].next = star.next;
      star.active = 0;
      c_.freeHint = s;
      ++unlinked;
      --unlinkable_;
    }
    prev = s;
    s = star.next;
  }
  return unlinked;
}

void RowStars::InsertByRank(std::int32_t record, std::int32_t rank) {
  std::int32_t i = windowCount_;
  while (i > 0 && windowRank_[i - 1] > rank) {
    window_[i] = window_[i - 1];
    windowRank_[i] = windowRank_[i - 1];
    --i;
  }
  window_[i] = static_cast<std::int16_t>(record);
  windowRank_[i] = static_cast<std::int16_t>(rank);
  ++windowCount_;
}

StarLight RowStars::Sum(float sx) {
  // Walks that unlink change the list for the next walk; one that unlinks
  // nothing leaves it as it is until the next birth. With no finished star
  // left in the list, no walk can unlink one.
  if (walkPending_) walkPending_ = unlinkable_ > 0 && UnlinkWalk() > 0;

  while (byXNext_ < byXCount_) {
    const std::int32_t s = byX_[byXNext_];
    if (!(sx - c_.starPool[s].x > 0.0f)) break;
    InsertByRank(s, rank_[s]);
    ++byXNext_;
  }

  StarLight sum = {0.0f, 0.0f, 0.0f};
  std::int32_t kept = 0;
  for (std::int32_t i = 0; i < windowCount_; ++i) {
    const std::int32_t s = window_[i];
    const StarRecord& star = c_.starPool[s];
    const float dx = sx - star.x;
    // dx only grows along the row: a star it has passed is done for the row.
    if (!(star.size > dx)) continue;
    window_[kept] = static_cast<std::int16_t>(s);
    windowRank_[kept] = windowRank_[i];
    ++kept;
    StarLight light;
    if (StarLightAt(c_, k_, star, sx, sy_, light)) {
      sum.red += light.red;
      sum.green += light.green;
      sum.blue += light.blue;
    }
  }
  windowCount_ = kept;
  return sum;
}

std::uint32_t RowStars::MaybeBirth(float sx, std::uint32_t cur) {
  const std::int32_t head = c_.starPool[0].next;
  cur = MaybeBirthStar(c_, k_, sx, sy_, cur);
  const std::int32_t born = c_.starPool[0].next;
  if (born == head) return cur;
  // The old head now has an active predecessor and may be unlinked.
  walkPending_ = true;
  // A star whose square starts on this row lights the rest of it, ahead of
  // every older star in the list.
  const StarRecord& star = c_.starPool[born];
  if (Unlinkable(star)) ++unlinkable_;
  if (Crosses(star) && !std::isnan(star.x)) InsertByRank(born, -(++bornCount_));
  return cur;
}

}  // namespace stellane
