// The host quirks we work around, in one table: which hosts (by signature)
// show which symptom. Code asks HostHas(fr, quirk), never for a signature.
#pragma once

#include <cstdint>

#include "host/PluginApi.h"

namespace stellane {

enum class HostQuirk {
  kNarrowDataWord,
  kSparsePreviewDisplay,
  kNoScriptReading,
  kBlueFirstPreviewPixels,
  kReducedMaskCoordinates,
};

// Whether the host of `fr` is one of those the table lists for `quirk`.
// Signatures match in either byte order (some hosts store them swapped).
bool HostHas(const ps::FilterRecord* fr, HostQuirk quirk);

// The signature test itself, compared in both byte orders: hosts differ in
// how they store the four characters.
bool HostIs(const ps::FilterRecord* fr, const char (&signature)[5]);

// Fills the host's request for pixels: `in` and `mask` of the source and
// `out` of the destination, every plane, one sampling rate (16.16) for the
// input and the mask, edges replicated.
void FillPixelRequest(ps::FilterRecord* fr, const ps::Rect16& in, const ps::Rect16& out,
                      const ps::Rect16& mask, ps::Fixed rate);

}  // namespace stellane
