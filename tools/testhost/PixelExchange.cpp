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

// Where an out-of-image request coordinate reads from: the clamped edge
// (true), or nowhere (false, padding decides).
struct Source {
  int x, y;
  bool inside;
};

Source Locate(int x, int y, int width, int height) {
  const bool inside = x >= 0 && y >= 0 && x < width && y < height;
  return {std::clamp(x, 0, width - 1), std::clamp(y, 0, height - 1), inside};
}

// Fills `buf` from the image for `r` (sampled at `rate`) and planes lo..hi.
ps::OSErr FillImageBuffer(Session& s, PixelBuffer& buf, const ps::Rect16& r, int lo, int hi,
                          ps::Fixed rate, std::int16_t padding, const char* name) {
  buf = PixelBuffer{};
  if (Empty(r)) return ps::noErr;
  const Image& im = s.Source();
  if (lo < 0 || lo > hi || hi >= im.Planes()) {
    s.ProtocolError(std::string(name) + ": planes out of range");
    return ps::paramErr;
  }
  if (rate <= 0) rate = ps::kFixedOne;  // an unset rate reads as 1
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const int planes = hi - lo + 1;
  const int bps = im.BytesPerSample();
  buf.rect = {r.top, r.left, r.bottom, r.right};
  buf.loPlane = lo;
  buf.hiPlane = hi;
  buf.rowBytes = w * planes * bps + s.config.extraRowBytes;
  buf.bytes.assign(std::size_t(buf.rowBytes) * std::size_t(h), 0);
  if (im.width == 0 || im.height == 0) return ps::noErr;
  for (int y = 0; y < h; ++y) {
    std::uint8_t* dst = buf.bytes.data() + std::size_t(y) * std::size_t(buf.rowBytes);
    for (int x = 0; x < w; ++x, dst += planes * bps) {
      const Source src =
          Locate(Sampled(r.left + x, rate), Sampled(r.top + y, rate), im.width, im.height);
      if (!src.inside && padding != ps::plugInWantsEdgeReplication) {
        if (padding == ps::plugInWantsErrorOnBoundsException) return ps::paramErr;
        if (padding >= 0)
          for (int p = 0; p < planes; ++p) WritePadding(dst + p * bps, im.depth, padding);
        continue;  // no padding wanted: left undefined (zero)
      }
      for (int p = 0; p < planes; ++p)
        std::memcpy(dst + p * bps, im.SamplePtr(src.x, src.y, lo + p), std::size_t(bps));
    }
  }
  return ps::noErr;
}

ps::OSErr FillMaskBuffer(Session& s, PixelBuffer& buf, const ps::Rect16& r, ps::Fixed rate,
                         std::int16_t padding) {
  buf = PixelBuffer{};
  const Selection& sel = s.selection;
  if (Empty(r) || sel.Empty() || s.config.quirks.selectionOnlyNarrowsFilterRect) return ps::noErr;
  if (rate <= 0) rate = ps::kFixedOne;
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  buf.rect = {r.top, r.left, r.bottom, r.right};
  buf.rowBytes = w + s.config.extraRowBytes;
  buf.bytes.assign(std::size_t(buf.rowBytes) * std::size_t(h), 0);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* dst = buf.bytes.data() + std::size_t(y) * std::size_t(buf.rowBytes);
    for (int x = 0; x < w; ++x) {
      const Source src =
          Locate(Sampled(r.left + x, rate), Sampled(r.top + y, rate), sel.width, sel.height);
      if (!src.inside && padding != ps::plugInWantsEdgeReplication) {
        if (padding == ps::plugInWantsErrorOnBoundsException) return ps::paramErr;
        if (padding >= 0) dst[x] = std::uint8_t(padding);
        continue;
      }
      dst[x] = sel.coverage[std::size_t(src.y) * std::size_t(sel.width) + std::size_t(src.x)];
    }
  }
  return ps::noErr;
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
  const int planes = out.hiPlane - out.loPlane + 1;
  const int bps = image.BytesPerSample();
  for (int y = out.rect.top; y < out.rect.bottom; ++y) {
    if (y < 0 || y >= image.height) continue;
    const std::uint8_t* row =
        out.bytes.data() + std::size_t(y - out.rect.top) * std::size_t(out.rowBytes);
    for (int x = out.rect.left; x < out.rect.right; ++x) {
      if (x < 0 || x >= image.width) continue;
      const std::uint8_t* src = row + std::size_t(x - out.rect.left) * planes * bps;
      for (int p = 0; p < planes; ++p)
        std::memcpy(image.SamplePtr(x, y, out.loPlane + p), src + p * bps, std::size_t(bps));
    }
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
                          r.outputPadding, "outRect");
  if (err == ps::noErr && config.quirks.emptyOutputBuffer)
    std::fill(out.bytes.begin(), out.bytes.end(), std::uint8_t{0});
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
