#include "export/HtmlPage.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include "export/FrameGifs.h"
#include "export/HtmlEscape.h"
#include "export/PsdJob.h"
#include "params/FilePaths.h"

namespace stellane {

namespace {

constexpr const char* kCellStart = "<td align=\"center\" valign=\"top\" width=\"20%\">";

void Line(HtmlPage& page, const char* text) {
  PutText(page.sink, text);
  PutText(page.sink, "\r\n");
}

void Put(HtmlPage& page, const std::string& text) { PutBytes(page.sink, text.data(), text.size()); }

std::string Number(std::int32_t n) { return std::to_string(n); }

const char* TitleOf(HtmlPageKind kind) {
  switch (kind) {
    case HtmlPageKind::kPresets:
      return " presets";
    case HtmlPageKind::kImages:
      return " images";
    case HtmlPageKind::kOutputModes:
      return " output modes";
    case HtmlPageKind::kMemoryDots:
      return " memory dots";
  }
  return "";
}

// The last part of a folder path, without trailing separators.
std::string FolderName(const char* folder) {
  std::string path(folder);
  while (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  const std::size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

void WriteFrameGifs(HtmlPage& page, const std::filesystem::path& folder) {
  for (const FramePiece& piece : kFramePieces) {
    const std::vector<std::uint8_t> bytes = FrameGifBytes(piece);
    ByteSink sink;
    if (!OpenFileSink(sink, Utf8FromPath(folder / piece.fileName).c_str())) continue;
    PutBytes(sink, bytes.data(), bytes.size());
    ClosePagePicture(page, sink);
  }
}

void PutImage(HtmlPage& page, const char* name, std::int32_t width, std::int32_t height) {
  Put(page, std::string("<img src=\"") + kWebImagesFolder + "/" + EscapeUrl(name) + "\" alt=\"" +
                EscapeHtmlText(name) + "\" width=\"" + Number(width) + "\" height=\"" +
                Number(height) + "\" border=\"0\">");
}

// One table cell holding one picture of the frame.
void PutImageCell(HtmlPage& page, const char* opening, const char* name, std::int32_t width,
                  std::int32_t height) {
  PutText(page.sink, opening);
  PutImage(page, name, width, height);
  Line(page, "</td>");
}

// A row of stored captions (when wanted) and the spacer row after every
// picture row.
void PutRowEnd(HtmlPage& page) {
  if (page.captionRow) {
    Line(page, "<tr>");
    for (std::int32_t c = 0; c < page.columns; ++c) {
      PutText(page.sink, kCellStart);
      PutText(page.sink,
              "<i><font size=\"-1\" color=\"#a6a6a6\" face=\"Hoefler Text, Times New "
              "Roman,Georgia,Times\">");
      const int first = std::min(2 * c, kHtmlCaptions - 2);
      Put(page, EscapeHtmlText(page.captions[first]));
      PutText(page.sink, "<br>");
      Put(page, EscapeHtmlText(page.captions[first + 1]));
      Line(page, "</font></i></td>");
    }
    Line(page, "</tr>");
  }
  Line(page, "<tr>");
  for (std::int32_t c = 0; c < page.columns; ++c) {
    PutText(page.sink, kCellStart);
    Line(page, "<p>&nbsp;</p></td>");
  }
  Line(page, "</tr>");
}

void OpenCell(HtmlPage& page) {
  if (page.column == 1) Line(page, "<tr>");
}

void CloseCell(HtmlPage& page) {
  if (++page.column > page.columns) {
    Line(page, "</tr>");
    PutRowEnd(page);
    page.column = 1;
    ++page.row;
  }
}

}  // namespace

bool BeginHtmlPage(HtmlPage& page, const char* pagePath, HtmlPageKind kind, std::int32_t columns,
                   const char* sourceFolder) {
  page.kind = kind;
  page.columns = std::clamp(columns, 1, kHtmlMaxColumns);
  page.column = 1;
  page.row = 1;
  page.captionRow = false;
  for (auto& caption : page.captions) caption[0] = '\0';
  if (pagePath == nullptr || *pagePath == '\0') return false;

  const std::filesystem::path folder = PathFromUtf8(pagePath).parent_path() / kWebImagesFolder;
  std::error_code ignored;
  // Beside the page: its folder must exist.
  page.createdImageFolder = std::filesystem::create_directory(folder, ignored);
  page.imageFolder =
      Utf8FromPath(folder) + static_cast<char>(std::filesystem::path::preferred_separator);
  // Missing frames only spoil the look; the page is written all the same.
  WriteFrameGifs(page, folder);

  if (!OpenFileSink(page.sink, pagePath)) return false;
  Line(page, "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
  Line(page, "");
  Line(page, "<html>");
  Line(page, "<head>");
  Line(page, "<meta http-equiv=\"content-type\" content=\"text/html;charset=ISO-8859-1\">");
  Put(page, std::string("<meta name=\"generator\" content=\"Quillwork ") + kProductName + "\">");
  Line(page, "");
  Put(page, std::string("<title>") + kProductName + TitleOf(kind) + "</title>");
  Line(page, "");
  Line(page, "</head>");
  Line(page, "<body bgcolor=\"#ffffff\">");
  Line(page, "<p>");
  Line(page, "<br>");
  Line(page, "<font size=\"4\" face=\"Gill Sans,Verdana,Helvetica,Arial,Geneva\">");
  PutText(page.sink, "<b>");
  PutText(page.sink, kProductName);
  if (sourceFolder != nullptr && *sourceFolder != '\0') {
    PutText(page.sink, kind == HtmlPageKind::kPresets ? " presets from " : " images from ");
    Put(page, EscapeHtmlText(FolderName(sourceFolder).c_str()));
  }
  if (kind == HtmlPageKind::kOutputModes) PutText(page.sink, " output modes ");
  if (kind == HtmlPageKind::kMemoryDots) PutText(page.sink, " memory dots ");
  Line(page, "<br>");
  Line(page, "</b>");
  Line(page, "</font>");
  Line(page, "</p>");
  Line(page,
       "<table width=\"100%\" border=\"0\" cellspacing=\"12\" cellpadding=\"0\" "
       "align=\"center\">");
  return !page.sink.failed;
}

void PutHtmlCell(HtmlPage& page, const char* imageName, const char* caption, std::int32_t width,
                 std::int32_t height) {
  OpenCell(page);
  Line(page, kCellStart);
  Line(page, ("<table id=\"Table_01\" width=\"" + Number(width + 6) +
              "\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" height=\"" + Number(height + 7) +
              "\">")
                 .c_str());
  Line(page, "<tr>");
  PutImageCell(page, "<td colspan=\"3\">", "top.gif", width + 6, 2);
  Line(page, "</tr>");
  Line(page, "<tr>");
  PutImageCell(page, "<td>", "left.gif", 3, height);
  PutImageCell(page, "<td>", imageName, width, height);
  PutImageCell(page, "<td>", "right.gif", 3, height);
  Line(page, "</tr>");
  Line(page, "<tr>");
  PutImageCell(page, "<td colspan=\"3\">", "bottom.gif", width + 6, 5);
  Line(page, "</tr>");
  Line(page, "</table>");
  Line(page, "<div align=\"center\">");
  Line(page, "<br><font  size=\"3\" face=\"Gill Sans,Verdana,Helvetica,Arial\">");
  Put(page, "<b>" + EscapeHtmlText(caption) + "</b>");
  Line(page, "");
  Line(page, "</font>");
  Line(page, "</div>");
  Line(page, "</td>");
  CloseCell(page);
}

void SkipHtmlCell(HtmlPage& page) {
  OpenCell(page);
  CloseCell(page);
}

bool EndHtmlPage(HtmlPage& page) {
  if (page.sink.file == nullptr) {
    AbandonHtmlPage(page);
    return false;
  }
  while (page.column != 1) {
    PutText(page.sink, kCellStart);
    PutText(page.sink,
            "<div align=\"center\"><p><font face=\"Hoefler Text,Times New "
            "Roman,Georgia,Times\"><b>");
    Line(page, "</b></font></p></div></td>");
    CloseCell(page);
  }
  Line(page, "</table>");
  Line(page, "<br>");
  Line(page, "");
  Line(page, "</body>");
  Line(page, "</html>");
  if (!CloseFileSinkPending(page.sink, page.pending)) {
    DiscardPendingFiles(page.pending);
    return false;
  }
  return CommitPendingFiles(page.pending);
}

bool ClosePagePicture(HtmlPage& page, ByteSink& sink) {
  return CloseFileSinkPending(sink, page.pending);
}

void AbandonHtmlPage(HtmlPage& page) {
  if (page.sink.file) DiscardFileSink(page.sink);
  DiscardPendingFiles(page.pending);
  const int reason = errno;  // why the page failed, for the caller's message
  std::error_code ignored;
  if (page.createdImageFolder && !page.imageFolder.empty())
    std::filesystem::remove(PathFromUtf8(page.imageFolder).parent_path(), ignored);
  errno = reason;
}

}  // namespace stellane
