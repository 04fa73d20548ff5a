#include "host/HostQuirks.h"

namespace stellane {

namespace {

struct QuirkRow {
  char signature[5];
  HostQuirk quirk;
};

// Each row: the host, and what it does that the quirk works around.
constexpr QuirkRow kQuirks[] = {
    // GIMP's pspi bridge passes a 4-byte slot for the 8-byte data word.
    {"PMIG", HostQuirk::kNarrowDataWord},
    // Photoshop and Elements: preview rows are drawn every 100th row only,
    // not after each row.
    {"8BIM", HostQuirk::kSparsePreviewDisplay},
    {"8ELE", HostQuirk::kSparsePreviewDisplay},
    // Paint Shop Pro: its scripting descriptor is not read; the dialog
    // follows the parameters selector and the cached settings.
    {"8PSP", HostQuirk::kNoScriptReading},
    {"9PSP", HostQuirk::kNoScriptReading},
    // pspiHost takes displayPixels' RGB samples blue first (red and blue
    // showed swapped).
    {"OHps", HostQuirk::kBlueFirstPreviewPixels},
    // Paint Shop Pro 8 wants the mask of a reduced preview request in the
    // reduced area's coordinates.
    {"PSP8", HostQuirk::kReducedMaskCoordinates},
};

constexpr std::uint32_t ByteSwapped(std::uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

}  // namespace

bool HostIs(const ps::FilterRecord* fr, const char (&signature)[5]) {
  if (!fr) return false;
  const std::uint32_t code = ps::FourCC(signature);
  return fr->hostSig == code || fr->hostSig == ByteSwapped(code);
}

bool HostHas(const ps::FilterRecord* fr, HostQuirk quirk) {
  for (const QuirkRow& row : kQuirks)
    if (row.quirk == quirk && HostIs(fr, row.signature)) return true;
  return false;
}

void FillPixelRequest(ps::FilterRecord* fr, const ps::Rect16& in, const ps::Rect16& out,
                      const ps::Rect16& mask, ps::Fixed rate) {
  fr->inRect = in;
  fr->outRect = out;
  fr->maskRect = mask;
  fr->inLoPlane = fr->outLoPlane = 0;
  fr->inHiPlane = fr->outHiPlane = std::int16_t(fr->planes - 1);
  fr->inputRate = fr->maskRate = rate;
  fr->inputPadding = fr->outputPadding = fr->maskPadding = ps::plugInWantsEdgeReplication;
}

}  // namespace stellane
