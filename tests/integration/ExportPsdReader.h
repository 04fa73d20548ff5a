// A small PSD reader of our own for the export tests: walks every section,
// resource and layer record, checks each stored length against what it
// holds, and decodes the channel data (raw or PackBits) into plain bytes as
// the file stores them (big-endian samples). Written from the published
// format description, independently of the writer.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace stellane::testing {

struct PsdResource {
  std::uint16_t id;
  std::vector<std::uint8_t> data;
};

struct PsdRead {
  std::string error;  // empty when the whole file read back consistently
  std::uint16_t channels = 0, depth = 0, mode = 0;
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> colourModeData;
  std::vector<PsdResource> resources;
  std::vector<std::string> additionalKeys;  // "Mt16", "Lr16", ...
  std::int16_t layerCount = 0;
  std::int32_t top = 0, left = 0, bottom = 0, right = 0;
  std::string layerName, blendKey;
  std::uint8_t opacity = 0, flags = 0;
  std::vector<std::int16_t> channelIds;
  std::vector<std::uint16_t> layerCompression;
  std::vector<std::vector<std::uint8_t>> layerChannels;  // in channelIds order
  std::uint16_t mergedCompression = 0;
  std::vector<std::vector<std::uint8_t>> mergedChannels;

  const PsdResource* Resource(std::uint16_t id) const {
    for (const PsdResource& r : resources)
      if (r.id == id) return &r;
    return nullptr;
  }
  std::vector<std::uint16_t> ResourceIds() const {
    std::vector<std::uint16_t> ids;
    for (const PsdResource& r : resources) ids.push_back(r.id);
    return ids;
  }
  // A sample of a decoded channel as an integer (8/16-bit) or float.
  static std::uint32_t Big(const std::vector<std::uint8_t>& c, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | c[at * bytes + i];
    return v;
  }
  std::uint32_t Sample(const std::vector<std::uint8_t>& c, std::uint32_t x, std::uint32_t y) const {
    return Big(c, std::size_t(y) * width + x, depth / 8);
  }
  float FloatSample(const std::vector<std::uint8_t>& c, std::uint32_t x, std::uint32_t y) const {
    const std::uint32_t bits = Sample(c, x, y);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
};

class PsdCursor {
 public:
  PsdCursor(const std::uint8_t* data, std::size_t size) : p_(data), size_(size) {}
  bool ok = true;
  std::size_t at = 0;
  bool Need(std::size_t n) {
    if (!ok || n > size_ - at) ok = false;
    return ok;
  }
  std::uint32_t U(int bytes) {
    if (!Need(std::size_t(bytes))) return 0;
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | p_[at++];
    return v;
  }
  std::string Text(std::size_t n) {
    if (!Need(n)) return {};
    std::string s(reinterpret_cast<const char*>(p_ + at), n);
    at += n;
    return s;
  }
  std::vector<std::uint8_t> Bytes(std::size_t n) {
    if (!Need(n)) return {};
    std::vector<std::uint8_t> v(p_ + at, p_ + at + n);
    at += n;
    return v;
  }
  bool AtEnd() const { return at == size_; }

 private:
  const std::uint8_t* p_;
  std::size_t size_;
};

// PackBits decoding of exactly `want` bytes from `coded`; false on a short
// or overlong row.
inline bool UnpackBits(const std::vector<std::uint8_t>& coded, std::size_t want,
                       std::vector<std::uint8_t>& out) {
  std::size_t i = 0, produced = 0;
  while (i < coded.size()) {
    const int n = static_cast<std::int8_t>(coded[i++]);
    if (n >= 0) {
      if (i + n + 1 > coded.size()) return false;
      out.insert(out.end(), coded.begin() + i, coded.begin() + i + n + 1);
      i += n + 1;
      produced += n + 1;
    } else if (n != -128) {
      if (i >= coded.size()) return false;
      out.insert(out.end(), std::size_t(1 - n), coded[i++]);
      produced += 1 - n;
    }
  }
  return produced == want;
}

// One channel's rows: raw, or PackBits with the given row counts.
inline bool ReadRows(PsdCursor& c, std::uint16_t compression, const std::uint16_t* counts,
                     std::uint32_t rows, std::size_t rowBytes, std::vector<std::uint8_t>& out) {
  if (compression == 0) {
    out = c.Bytes(rowBytes * rows);
    return c.ok;
  }
  if (compression != 1) return false;
  for (std::uint32_t y = 0; y < rows; ++y) {
    if (!UnpackBits(c.Bytes(counts[y]), rowBytes, out) || !c.ok) return false;
  }
  return true;
}

inline std::string ReadLayerInfo(PsdCursor& c, PsdRead& f, std::size_t end) {
  f.layerCount = static_cast<std::int16_t>(c.U(2));
  if (f.layerCount != 1) return "layer count";
  f.top = std::int32_t(c.U(4));
  f.left = std::int32_t(c.U(4));
  f.bottom = std::int32_t(c.U(4));
  f.right = std::int32_t(c.U(4));
  const std::uint16_t n = std::uint16_t(c.U(2));
  std::vector<std::uint32_t> lengths;
  for (int i = 0; i < n; ++i) {
    f.channelIds.push_back(static_cast<std::int16_t>(c.U(2)));
    lengths.push_back(c.U(4));
  }
  if (c.Text(4) != "8BIM") return "blend signature";
  f.blendKey = c.Text(4);
  f.opacity = std::uint8_t(c.U(1));
  c.U(1);
  f.flags = std::uint8_t(c.U(1));
  c.U(1);
  const std::uint32_t extra = c.U(4);
  const std::size_t extraEnd = c.at + extra;
  const std::uint32_t maskLength = c.U(4);
  c.Bytes(maskLength);
  const std::uint32_t rangesLength = c.U(4);
  c.Bytes(rangesLength);
  const std::uint32_t nameLength = c.U(1);
  f.layerName = c.Text(nameLength);
  const std::size_t padded = (nameLength + 1 + 3) / 4 * 4;
  c.Bytes(padded - nameLength - 1);
  if (!c.ok || c.at != extraEnd) return "layer extra data length";

  const int bytes = f.depth / 8;
  const std::uint32_t h = std::uint32_t(f.bottom - f.top), w = std::uint32_t(f.right - f.left);
  for (int i = 0; i < n; ++i) {
    const std::size_t start = c.at;
    const std::uint16_t compression = std::uint16_t(c.U(2));
    f.layerCompression.push_back(compression);
    std::vector<std::uint16_t> counts;
    if (compression == 1)
      for (std::uint32_t y = 0; y < h; ++y) counts.push_back(std::uint16_t(c.U(2)));
    std::vector<std::uint8_t> rows;
    if (!ReadRows(c, compression, counts.data(), h, std::size_t(w) * bytes, rows))
      return "layer channel data";
    if (c.at - start != lengths[i]) return "layer channel length";
    f.layerChannels.push_back(std::move(rows));
  }
  if (c.at > end) return "layer info overruns its length";
  c.Bytes(end - c.at);  // padding
  return {};
}

inline PsdRead ReadPsd(const std::vector<std::uint8_t>& file) {
  PsdRead f;
  PsdCursor c(file.data(), file.size());
  auto fail = [&](std::string what) {
    f.error = what + " (at byte " + std::to_string(c.at) + ")";
    return f;
  };
  if (c.Text(4) != "8BPS" || c.U(2) != 1) return fail("signature");
  for (int i = 0; i < 6; ++i)
    if (c.U(1) != 0) return fail("reserved bytes");
  f.channels = std::uint16_t(c.U(2));
  f.height = c.U(4);
  f.width = c.U(4);
  f.depth = std::uint16_t(c.U(2));
  f.mode = std::uint16_t(c.U(2));
  f.colourModeData = c.Bytes(c.U(4));

  const std::uint32_t resourcesLength = c.U(4);
  const std::size_t resourcesEnd = c.at + resourcesLength;
  while (c.ok && c.at < resourcesEnd) {
    if (c.Text(4) != "8BIM") return fail("resource signature");
    PsdResource r;
    r.id = std::uint16_t(c.U(2));
    const std::uint32_t nameLength = c.U(1);
    c.Bytes(nameLength + ((nameLength + 1) % 2));
    const std::uint32_t size = c.U(4);
    r.data = c.Bytes(size);
    if (size % 2) c.U(1);
    f.resources.push_back(std::move(r));
  }
  if (!c.ok || c.at != resourcesEnd) return fail("resources length");

  const std::uint32_t layersLength = c.U(4);
  const std::size_t layersEnd = c.at + layersLength;
  const std::uint32_t infoLength = c.U(4);
  if (infoLength > 0) {
    const std::size_t infoEnd = c.at + infoLength;
    if (std::string e = ReadLayerInfo(c, f, infoEnd); !e.empty()) return fail(e);
    if (c.at != infoEnd) return fail("layer info length");
  }
  const std::uint32_t globalMask = c.U(4);
  c.Bytes(globalMask);
  while (c.ok && c.at < layersEnd) {
    if (c.Text(4) != "8BIM") return fail("additional information signature");
    const std::string key = c.Text(4);
    f.additionalKeys.push_back(key);
    const std::uint32_t length = c.U(4);
    const std::size_t end = c.at + length;
    if (key == "Lr16" || key == "Lr32") {
      if (length % 4) return fail("layer block not padded to 4");
      if (std::string e = ReadLayerInfo(c, f, end); !e.empty()) return fail(e);
    } else {
      c.Bytes(length);
    }
    if (c.at != end) return fail("additional information length");
  }
  if (!c.ok || c.at != layersEnd) return fail("layer and mask section length");

  f.mergedCompression = std::uint16_t(c.U(2));
  const std::size_t rowBytes = std::size_t(f.width) * (f.depth / 8);
  std::vector<std::uint16_t> counts;
  if (f.mergedCompression == 1)
    for (std::uint32_t i = 0; i < f.channels * f.height; ++i)
      counts.push_back(std::uint16_t(c.U(2)));
  for (int ch = 0; ch < f.channels; ++ch) {
    std::vector<std::uint8_t> rows;
    const std::uint16_t* rowCounts = counts.empty() ? nullptr : counts.data() + ch * f.height;
    if (!ReadRows(c, f.mergedCompression, rowCounts, f.height, rowBytes, rows))
      return fail("merged image data");
    f.mergedChannels.push_back(std::move(rows));
  }
  if (!c.ok || !c.AtEnd()) return fail("bytes after the merged image");
  return f;
}

}  // namespace stellane::testing
