#include "testhost/RunSource.h"

#include <cstring>

namespace testhost {

void RunSource::Start(const Image& image) {
  Clear();
  kept_.assign(std::size_t(image.height), false);
}

void RunSource::Clear() {
  rows_.reset();
  std::vector<bool>().swap(kept_);
}

void RunSource::KeepRow(const Image& image, int y) {
  if (y < 0 || std::size_t(y) >= kept_.size() || kept_[std::size_t(y)]) return;
  const std::size_t rowBytes = image.RowBytes();
  // Room for every row at once, left untouched: the system backs a page of
  // a large block only once a row is written into it.
  if (!rows_) rows_ = std::make_unique_for_overwrite<std::uint8_t[]>(kept_.size() * rowBytes);
  std::memcpy(rows_.get() + std::size_t(y) * rowBytes,
              image.data.data() + std::size_t(y) * rowBytes, rowBytes);
  kept_[std::size_t(y)] = true;
}

const std::uint8_t* RunSource::Row(const Image& image, int y) const {
  const bool kept = std::size_t(y) < kept_.size() && kept_[std::size_t(y)];
  return (kept ? rows_.get() : image.data.data()) + std::size_t(y) * image.RowBytes();
}

void RunSource::Restore(Image& image) const {
  const std::size_t rowBytes = image.RowBytes();
  for (std::size_t y = 0; y < kept_.size(); ++y)
    if (kept_[y])
      std::memcpy(image.data.data() + y * rowBytes, rows_.get() + y * rowBytes, rowBytes);
}

}  // namespace testhost
