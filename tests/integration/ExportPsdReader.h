// A small PSD reader of our own for the export tests, written from the
// published format description independently of the writer: it walks every
// section, resource and layer record, checks each stored length against what
// it holds, and decodes the channels (raw or PackBits) into the big-endian
// samples the file stores.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace stellane::testing {

using PsdBytes = std::vector<std::uint8_t>;

struct PsdResource {
  std::uint16_t id;
  PsdBytes data;
};

struct PsdRead {
  std::string error;  // empty when the whole file read back consistently
  std::uint16_t channels = 0, depth = 0, mode = 0;
  std::uint32_t width = 0, height = 0;
  PsdBytes colourModeData;
  std::vector<PsdResource> resources;
  std::vector<std::string> additionalKeys;  // "Mt16", "Lr16", ...
  std::string layerName, blendKey;
  std::uint8_t opacity = 0;
  std::vector<std::int16_t> channelIds;
  std::vector<std::uint16_t> layerCompression;
  std::vector<PsdBytes> layerChannels;  // in channelIds order
  std::uint16_t mergedCompression = 0;
  std::vector<PsdBytes> mergedChannels;

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
  // A sample of a decoded channel: the integer, or the float's bits.
  std::uint32_t Sample(const PsdBytes& c, std::uint32_t x, std::uint32_t y) const {
    std::uint32_t v = 0;
    for (int i = 0; i < depth / 8; ++i)
      v = v << 8 | c[(std::size_t(y) * width + x) * (depth / 8) + i];
    return v;
  }
  float FloatSample(const PsdBytes& c, std::uint32_t x, std::uint32_t y) const {
    const std::uint32_t bits = Sample(c, x, y);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
};

// Big-endian fields in order; past the end it gives nothing and `ok` turns false.
struct PsdCursor {
  const PsdBytes& file;
  std::size_t at = 0;
  bool ok = true;
  PsdBytes Bytes(std::size_t n) {
    if (!ok || n > file.size() - at) ok = false;
    if (!ok) return {};
    at += n;
    return PsdBytes(file.begin() + std::ptrdiff_t(at - n), file.begin() + std::ptrdiff_t(at));
  }
  std::uint32_t U(int bytes) {
    std::uint32_t v = 0;
    for (std::uint8_t b : Bytes(std::size_t(bytes))) v = v << 8 | b;
    return v;
  }
  std::string Text(std::size_t n) {
    const PsdBytes b = Bytes(n);
    return {b.begin(), b.end()};
  }
};

// PackBits decoding of exactly `want` bytes; false on a short, overlong or cut row.
inline bool UnpackBits(const PsdBytes& coded, std::size_t want, PsdBytes& out) {
  const std::size_t start = out.size();
  for (std::size_t i = 0; i < coded.size();) {
    const int n = static_cast<std::int8_t>(coded[i++]);
    if (n == -128) continue;
    const std::size_t take = n >= 0 ? std::size_t(n) + 1 : 1;
    if (coded.size() - i < take) return false;
    if (n >= 0)
      out.insert(out.end(), coded.begin() + std::ptrdiff_t(i),
                 coded.begin() + std::ptrdiff_t(i + take));
    else
      out.insert(out.end(), std::size_t(1 - n), coded[i]);
    i += take;
  }
  return out.size() - start == want;
}

// One channel's rows: raw, or PackBits with the given row counts.
inline bool ReadRows(PsdCursor& c, std::uint16_t compression, const std::uint16_t* counts,
                     std::uint32_t rows, std::size_t rowBytes, PsdBytes& out) {
  if (compression == 0) out = c.Bytes(rowBytes * rows);
  for (std::uint32_t y = 0; compression == 1 && y < rows; ++y)
    if (!UnpackBits(c.Bytes(counts[y]), rowBytes, out)) return false;
  return c.ok && compression <= 1;
}

// The layer info block of the one layer, which covers the whole image.
inline std::string ReadLayerInfo(PsdCursor& c, PsdRead& f, std::size_t end) {
  if (c.U(2) != 1) return "layer count";
  if (c.U(4) != 0 || c.U(4) != 0 || c.U(4) != f.height || c.U(4) != f.width) return "layer bounds";
  const std::uint16_t n = std::uint16_t(c.U(2));
  std::vector<std::uint32_t> lengths;
  for (int i = 0; i < n; ++i) {
    f.channelIds.push_back(static_cast<std::int16_t>(c.U(2)));
    lengths.push_back(c.U(4));
  }
  if (c.Text(4) != "8BIM") return "blend signature";
  f.blendKey = c.Text(4);
  f.opacity = std::uint8_t(c.U(1));
  c.U(3);  // clipping, flags, filler
  const std::uint32_t extraLength = c.U(4);
  const std::size_t extraEnd = c.at + extraLength;
  c.Bytes(c.U(4));  // layer mask
  c.Bytes(c.U(4));  // blending ranges
  const std::uint32_t nameLength = c.U(1);
  f.layerName = c.Text(nameLength);
  c.Bytes((nameLength + 4) / 4 * 4 - nameLength - 1);  // padded to 4 with its length byte
  if (!c.ok || c.at != extraEnd) return "layer extra data length";

  for (int i = 0; i < n; ++i) {
    const std::size_t start = c.at;
    const std::uint16_t compression = std::uint16_t(c.U(2));
    f.layerCompression.push_back(compression);
    std::vector<std::uint16_t> counts;
    for (std::uint32_t y = 0; compression == 1 && y < f.height; ++y)
      counts.push_back(std::uint16_t(c.U(2)));
    PsdBytes rows;
    if (!ReadRows(c, compression, counts.data(), f.height, std::size_t(f.width) * (f.depth / 8),
                  rows))
      return "layer channel data";
    if (c.at - start != lengths[i]) return "layer channel length";
    f.layerChannels.push_back(std::move(rows));
  }
  if (c.at > end) return "layer info overruns its length";
  c.Bytes(end - c.at);  // padding
  return {};
}

inline PsdRead ReadPsd(const PsdBytes& file) {
  PsdRead f;
  PsdCursor c{file};
  auto fail = [&](std::string what) {
    f.error = what + " (at byte " + std::to_string(c.at) + ")";
    return f;
  };
  if (c.Text(4) != "8BPS" || c.U(2) != 1 || c.U(4) != 0 || c.U(2) != 0) return fail("signature");
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
    PsdResource r{std::uint16_t(c.U(2)), {}};
    c.Bytes(c.U(1) / 2 * 2 + 1);  // the name, padded to even with its length byte
    const std::uint32_t size = c.U(4);
    r.data = c.Bytes(size);
    c.Bytes(size % 2);
    f.resources.push_back(std::move(r));
  }
  if (!c.ok || c.at != resourcesEnd) return fail("resources length");

  const std::uint32_t layersLength = c.U(4);
  const std::size_t layersEnd = c.at + layersLength;
  if (const std::uint32_t infoLength = c.U(4)) {
    const std::size_t infoEnd = c.at + infoLength;
    if (std::string e = ReadLayerInfo(c, f, infoEnd); !e.empty()) return fail(e);
  }
  c.Bytes(c.U(4));  // global layer mask
  while (c.ok && c.at < layersEnd) {
    if (c.Text(4) != "8BIM") return fail("additional information signature");
    f.additionalKeys.push_back(c.Text(4));
    const std::uint32_t length = c.U(4);
    const std::size_t end = c.at + length;
    if (f.additionalKeys.back().substr(0, 2) != "Lr")
      c.Bytes(length);
    else if (length % 4)
      return fail("layer block not padded to 4");
    else if (std::string e = ReadLayerInfo(c, f, end); !e.empty())
      return fail(e);
    if (c.at != end) return fail("additional information length");
  }
  if (!c.ok || c.at != layersEnd) return fail("layer and mask section length");

  f.mergedCompression = std::uint16_t(c.U(2));
  std::vector<std::uint16_t> counts;
  for (std::uint32_t i = 0; f.mergedCompression == 1 && i < f.channels * f.height; ++i)
    counts.push_back(std::uint16_t(c.U(2)));
  for (int ch = 0; ch < f.channels; ++ch) {
    PsdBytes rows;
    if (!ReadRows(c, f.mergedCompression, counts.data() + (counts.empty() ? 0 : ch * f.height),
                  f.height, std::size_t(f.width) * (f.depth / 8), rows))
      return fail("merged image data");
    f.mergedChannels.push_back(std::move(rows));
  }
  if (!c.ok || c.at != file.size()) return fail("bytes after the merged image");
  return f;
}

}  // namespace stellane::testing
