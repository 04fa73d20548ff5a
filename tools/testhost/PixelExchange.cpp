// Serving pixel requests: the input, output and mask buffers for the
// rectangles the plug-in set, sampled at its rates and padded as it asked,
// and the output written back into the image when the next request is made
// or the run ends.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "testhost/Session.h"

namespace testhost {

namespace {

bool Empty(const ps::Rect16& r) { return r.top >= r.bottom || r.left >= r.right; }

// Image coordinate of coordinate `c` of a request sampled at `rate` (16.16).
int Sampled(int c, ps::Fixed rate) { return int((std::int64_t(c) * rate) >> 16); }

// The constant padding value in the image's sample format.
void WritePadding(std::uint8_t* dst, int depth, std::int16_t value) {
  if (depth == 8) {
    *dst = std::uint8_t(value);
  } else if (depth == 16) {
    const std::uint16_t v = std::uint16_t((value * 32768 + 127) / 255);
    std::memcpy(dst, &v, sizeof v);
  } else {
    const float v = float(value) / 255.0f;
    std::memcpy(dst, &v, sizeof v);
  }
}

// Samples laid out in rows: the picture (as at the start of the run) or the
// selection a request reads.
struct Plane {
  const Image* image;        // the picture, its rows through `source`,
  const RunSource* source;   // or, when null,
  const std::uint8_t* data;  // rows `rowBytes` apart from here
  std::size_t firstSample;   // offset of the first requested sample in a pixel
  int width, height;
  std::size_t rowBytes, pixelBytes;
};

// The first requested sample of pixel (0, y).
const std::uint8_t* RowOf(const Plane& plane, int y) {
  const std::uint8_t* row = plane.source ? plane.source->Row(*plane.image, y)
                                         : plane.data + std::size_t(y) * plane.rowBytes;
  return row + plane.firstSample;
}

// Copies `count` pixels of `bytes` bytes each from `src`, whose pixels are
// `srcStride` bytes apart, to packed `dst`: one memcpy when the source is
// packed as well.
void CopyPixels(std::uint8_t* dst, const std::uint8_t* src, std::size_t count, std::size_t bytes,
                std::size_t srcStride) {
  if (srcStride == bytes) {
    std::memcpy(dst, src, count * bytes);
    return;
  }
  for (std::size_t i = 0; i < count; ++i, dst += bytes, src += srcStride)
    std::memcpy(dst, src, bytes);
}

// Repeats one pixel `count` times.
void RepeatPixel(std::uint8_t* dst, const std::uint8_t* pixel, std::size_t count,
                 std::size_t bytes) {
  for (std::size_t i = 0; i < count; ++i, dst += bytes) std::memcpy(dst, pixel, bytes);
}

// Fills `buf` (already sized, rows `rowBytes` apart) from `src` for request
// `r` sampled at `rate`. Columns and rows outside the plane take the clamped
// edge (edge replication) or `pad`, the padding pixel (zero when no padding
// is wanted). Whole in-plane runs at rate 1 are one copy per row.
ps::OSErr FillRect(PixelBuffer& buf, const Plane& src, const ps::Rect16& r, ps::Fixed rate,
                   std::int16_t padding, const std::vector<std::uint8_t>& pad) {
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const std::size_t px = pad.size();
  const std::size_t used = std::size_t(w) * px;
  // A positive rate samples monotonically, so the in-plane columns and rows
  // form one range each.
  auto insideRange = [rate](int first, int count, int limit) {
    int lo = 0, hi = count;
    while (lo < count && Sampled(first + lo, rate) < 0) ++lo;
    while (hi > lo && Sampled(first + hi - 1, rate) >= limit) --hi;
    return std::pair{lo, hi};
  };
  const auto [x0, x1] = insideRange(r.left, w, src.width);
  const auto [y0, y1] = insideRange(r.top, h, src.height);
  const bool edge = padding == ps::plugInWantsEdgeReplication;
  if (padding == ps::plugInWantsErrorOnBoundsException && (x0 > 0 || x1 < w || y0 > 0 || y1 < h))
    return ps::paramErr;
  for (int y = 0; y < h; ++y) {
    std::uint8_t* dst = buf.bytes.data() + std::size_t(y) * std::size_t(buf.rowBytes);
    std::fill(dst + used, dst + buf.rowBytes, std::uint8_t{0});  // row padding
    if ((y < y0 || y >= y1) && !edge) {
      RepeatPixel(dst, pad.data(), std::size_t(w), px);
      continue;
    }
    const int sy = std::clamp(Sampled(r.top + y, rate), 0, src.height - 1);
    const std::uint8_t* row = RowOf(src, sy);
    const std::uint8_t* last = row + std::size_t(src.width - 1) * src.pixelBytes;
    RepeatPixel(dst, edge ? row : pad.data(), std::size_t(x0), px);
    RepeatPixel(dst + std::size_t(x1) * px, edge ? last : pad.data(), std::size_t(w - x1), px);
    if (x0 >= x1) continue;
    if (rate == ps::kFixedOne) {
      CopyPixels(dst + std::size_t(x0) * px, row + std::size_t(r.left + x0) * src.pixelBytes,
                 std::size_t(x1 - x0), px, src.pixelBytes);
      continue;
    }
    for (int x = x0; x < x1; ++x)
      std::memcpy(dst + std::size_t(x) * px,
                  row + std::size_t(Sampled(r.left + x, rate)) * src.pixelBytes, px);
  }
  return ps::noErr;
}

// What a buffer starts as: the image under it, or nothing (hosts that hand
// over an empty output buffer).
enum class Contents { kImage, kZeros };

// Sizes `buf` for `r` with `bytesPerPixel` bytes a pixel plus the host's row
// padding; `zeroed` clears it, otherwise it is left for the caller to fill.
void SizeBuffer(Session& s, PixelBuffer& buf, const ps::Rect16& r, int bytesPerPixel, bool zeroed) {
  buf.rect = {r.top, r.left, r.bottom, r.right};
  buf.rowBytes = (r.right - r.left) * bytesPerPixel + s.config.extraRowBytes;
  const std::size_t size = std::size_t(buf.rowBytes) * std::size_t(r.bottom - r.top);
  if (zeroed)
    buf.bytes.assign(size, 0);
  else
    buf.bytes.resize(size);
}

// Fills `buf` from the image for `r` (sampled at `rate`) and planes lo..hi.
ps::OSErr FillImageBuffer(Session& s, PixelBuffer& buf, const ps::Rect16& r, int lo, int hi,
                          ps::Fixed rate, std::int16_t padding, const char* name,
                          Contents contents = Contents::kImage) {
  buf = PixelBuffer{};
  if (Empty(r)) return ps::noErr;
  const Image& im = s.image;
  if (lo < 0 || lo > hi || hi >= im.Planes()) {
    s.ProtocolError(std::string(name) + ": planes out of range");
    return ps::paramErr;
  }
  if (rate <= 0) rate = ps::kFixedOne;  // an unset rate reads as 1
  const int planes = hi - lo + 1;
  const int bps = im.BytesPerSample();
  buf.loPlane = lo;
  buf.hiPlane = hi;
  if (im.width == 0 || im.height == 0) {
    SizeBuffer(s, buf, r, planes * bps, true);
    return ps::noErr;
  }
  if (contents == Contents::kZeros) {
    // An empty output buffer still refuses what the plug-in may not ask.
    SizeBuffer(s, buf, r, planes * bps, true);
    const bool outside = r.left < 0 || r.top < 0 || r.right > im.width || r.bottom > im.height;
    return padding == ps::plugInWantsErrorOnBoundsException && outside ? ps::paramErr : ps::noErr;
  }
  SizeBuffer(s, buf, r, planes * bps, false);
  std::vector<std::uint8_t> pad(std::size_t(planes * bps), 0);
  if (padding >= 0)
    for (int p = 0; p < planes; ++p) WritePadding(pad.data() + p * bps, im.depth, padding);
  const Plane plane{&im,      &s.runSource, nullptr,       std::size_t(lo) * std::size_t(bps),
                    im.width, im.height,    im.RowBytes(), im.PixelBytes()};
  return FillRect(buf, plane, r, rate, padding, pad);
}

ps::OSErr FillMaskBuffer(Session& s, PixelBuffer& buf, const ps::Rect16& r, ps::Fixed rate,
                         std::int16_t padding) {
  buf = PixelBuffer{};
  const Selection& sel = s.selection;
  if (Empty(r) || sel.Empty() || s.config.quirks.selectionOnlyNarrowsFilterRect) return ps::noErr;
  if (rate <= 0) rate = ps::kFixedOne;
  SizeBuffer(s, buf, r, 1, false);
  const std::vector<std::uint8_t> pad{std::uint8_t(padding >= 0 ? padding : 0)};
  const Plane plane{nullptr,   nullptr,    sel.coverage.data(),    0,
                    sel.width, sel.height, std::size_t(sel.width), 1};
  return FillRect(buf, plane, r, rate, padding, pad);
}

void* DataOf(PixelBuffer& buf) { return buf.bytes.empty() ? nullptr : buf.bytes.data(); }

}  // namespace

void Session::CommitOutput() {
  if (!outputPending) return;
  outputPending = false;
  if (config.quirks.outputThroughOutData && fr && fr->outData != out.bytes.data()) {
    ProtocolError("output chunk lost: outData no longer points at the host's buffer");
    return;
  }
  // The part of the output inside the image, a run of pixels per row.
  const int x0 = std::max(0, out.rect.left), x1 = std::min(image.width, out.rect.right);
  const int y0 = std::max(0, out.rect.top), y1 = std::min(image.height, out.rect.bottom);
  if (x0 >= x1) return;
  const std::size_t bps = std::size_t(image.BytesPerSample());
  const std::size_t px = std::size_t(out.hiPlane - out.loPlane + 1) * bps;
  const std::size_t pixelBytes = image.PixelBytes();
  for (int y = y0; y < y1; ++y) {
    const std::uint8_t* src = out.bytes.data() +
                              std::size_t(y - out.rect.top) * std::size_t(out.rowBytes) +
                              std::size_t(x0 - out.rect.left) * px;
    if (fr) runSource.KeepRow(image, y);  // the run is still served the row as it was
    std::uint8_t* dst = image.SamplePtr(x0, y, out.loPlane);
    if (px == pixelBytes) {
      std::memcpy(dst, src, std::size_t(x1 - x0) * px);
      continue;
    }
    for (int x = x0; x < x1; ++x, dst += pixelBytes, src += px) std::memcpy(dst, src, px);
  }
}

ps::OSErr Session::ExchangePixels(bool fromAdvanceState) {
  CommitOutput();
  ps::FilterRecord& r = *fr;
  log.requests.push_back({r.inRect, r.outRect, r.maskRect, r.inLoPlane, r.inHiPlane, r.outLoPlane,
                          r.outHiPlane, r.inputRate, r.maskRate, r.inputPadding, r.outputPadding,
                          r.maskPadding, fromAdvanceState});
  ps::OSErr err = FillImageBuffer(*this, in, r.inRect, r.inLoPlane, r.inHiPlane, r.inputRate,
                                  r.inputPadding, "inRect");
  if (err == ps::noErr)
    err = FillImageBuffer(*this, out, r.outRect, r.outLoPlane, r.outHiPlane, ps::kFixedOne,
                          r.outputPadding, "outRect",
                          config.quirks.emptyOutputBuffer ? Contents::kZeros : Contents::kImage);
  if (err == ps::noErr) err = FillMaskBuffer(*this, mask, r.maskRect, r.maskRate, r.maskPadding);
  if (err != ps::noErr) {
    ReleasePixelBuffers();
    return err;
  }
  const int bps = image.BytesPerSample();
  r.inData = DataOf(in);
  r.inRowBytes = in.rowBytes;
  r.inColumnBytes = in.bytes.empty() ? 0 : (in.hiPlane - in.loPlane + 1) * bps;
  r.inPlaneBytes = in.bytes.empty() ? 0 : bps;
  r.outData = DataOf(out);
  r.outRowBytes = out.rowBytes;
  r.outColumnBytes = out.bytes.empty() ? 0 : (out.hiPlane - out.loPlane + 1) * bps;
  r.outPlaneBytes = out.bytes.empty() ? 0 : bps;
  r.maskData = DataOf(mask);
  r.maskRowBytes = mask.rowBytes;
  outputPending = !out.bytes.empty();
  if (!in.bytes.empty()) log.rowsDelivered += in.rect.bottom - in.rect.top;
  return ps::noErr;
}

void Session::ReleasePixelBuffers() {
  in = out = mask = PixelBuffer{};
  outputPending = false;
  if (!fr) return;
  fr->inData = fr->outData = fr->maskData = nullptr;
  fr->inRowBytes = fr->outRowBytes = fr->maskRowBytes = 0;
}

}  // namespace testhost
