// The HTML page writer: a table of framed thumbnails with captions, rows of
// a fixed column count, and the "web_images" folder beside the page that
// holds the pictures and the four frame GIFs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/ByteSink.h"

namespace stellane {

enum class HtmlPageKind : std::int32_t {
  kPresets = 0,
  kImages = 1,
  kOutputModes = 2,
  kMemoryDots = 3,
};

constexpr std::int32_t kHtmlMaxColumns = 10;
constexpr int kHtmlCaptions = 20;
constexpr const char* kWebImagesFolder = "web_images";

struct HtmlPage {
  ByteSink sink;
  HtmlPageKind kind;
  std::int32_t columns;  // 1..kHtmlMaxColumns
  std::int32_t column;   // 1-based, the next cell's
  std::int32_t row;
  bool captionRow;  // a row of stored captions under every picture row
  char captions[kHtmlCaptions][256];
  std::string imageFolder;  // "web_images" beside the page, with a separator
  // The page's pictures, finished but not yet in place: the page and its
  // pictures appear together when the page is complete, or not at all.
  std::vector<PendingFile> pending;
  bool createdImageFolder = false;  // removed again when the page fails
};

// Creates "web_images" beside `pagePath` with the frame GIFs in it, then the
// page (replacing an existing one) and writes its start. `sourceFolder` (may
// be null) names the folder the pictures come from in the heading. False
// when the page cannot be created.
bool BeginHtmlPage(HtmlPage& page, const char* pagePath, HtmlPageKind kind, std::int32_t columns,
                   const char* sourceFolder);

// Writes the cell of the picture `imageName` in "web_images", declared
// width x height, with its caption.
void PutHtmlCell(HtmlPage& page, const char* imageName, const char* caption, std::int32_t width,
                 std::int32_t height);
// Moves to the next cell without writing one (a picture that failed).
void SkipHtmlCell(HtmlPage& page);

// Writes `sink` (a picture of the page) and keeps it for the page's end;
// false when it could not be written.
bool ClosePagePicture(HtmlPage& page, ByteSink& sink);

// Fills the last row with empty cells, closes the table and the page, and
// puts the page and its pictures in place. False when any part of the page
// could not be written; then nothing was put in place.
bool EndHtmlPage(HtmlPage& page);
// Drops a page that fails: its files are removed, nothing existing changed.
void AbandonHtmlPage(HtmlPage& page);

}  // namespace stellane
