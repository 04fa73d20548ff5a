#include "testhost/RunSource.h"

#include <cstring>

namespace testhost {

void RunSource::Start(const Image& image) {
  Clear();
  rows_.resize(std::size_t(image.height));
}

void RunSource::Clear() { std::vector<std::unique_ptr<std::uint8_t[]>>().swap(rows_); }

void RunSource::KeepRow(const Image& image, int y) {
  if (y < 0 || std::size_t(y) >= rows_.size() || rows_[std::size_t(y)]) return;
  auto row = std::make_unique_for_overwrite<std::uint8_t[]>(image.RowBytes());
  std::memcpy(row.get(), image.data.data() + std::size_t(y) * image.RowBytes(), image.RowBytes());
  rows_[std::size_t(y)] = std::move(row);
}

const std::uint8_t* RunSource::Row(const Image& image, int y) const {
  if (std::size_t(y) < rows_.size() && rows_[std::size_t(y)]) return rows_[std::size_t(y)].get();
  return image.data.data() + std::size_t(y) * image.RowBytes();
}

void RunSource::Restore(Image& image) const {
  for (std::size_t y = 0; y < rows_.size(); ++y)
    if (rows_[y])
      std::memcpy(image.data.data() + y * image.RowBytes(), rows_[y].get(), image.RowBytes());
}

}  // namespace testhost
