#include "export/HtmlPages.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "export/ByteSink.h"
#include "export/ExportRender.h"
#include "export/HtmlPage.h"
#include "export/PsdJob.h"
#include "image/JpegCodec.h"
#include "params/FilePaths.h"
#include "params/SettingsFile.h"
#include "params/TempFolder.h"

namespace stellane {

namespace {

bool EndsWithSettingsExtension(const std::string& name) {
  if (name.size() <= 4) return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".q9r";
}

// The names of the settings files in `folder`, sorted. False when the folder
// cannot be listed.
bool ListSettingsFiles(const char* folder, std::vector<std::string>& names) {
  std::error_code error;
  std::filesystem::directory_iterator it(PathFromUtf8(folder), error);
  if (error) return false;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) return false;
    // Folders, FIFOs and devices are passed over: reading a FIFO would
    // wait for ever.
    if (!it->is_regular_file(error)) continue;
    const std::string name = Utf8FromPath(it->path().filename());
    if (EndsWithSettingsExtension(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return true;
}

// A picture of the page, kept for the page's end. False when it could not
// be written.
bool WritePagePicture(HtmlPage& page, const TiledImage& image, const std::string& name) {
  JpegBytes jpeg;
  if (!CompressJpeg(image, jpeg)) return false;
  ByteSink sink;
  bool ok = OpenFileSink(sink, (page.imageFolder + name).c_str());
  if (ok) {
    PutBytes(sink, jpeg.data, jpeg.size);
    ok = ClosePagePicture(page, sink);
  }
  ReleaseJpegBytes(jpeg);
  return ok;
}

enum class PresetPicture { kWritten, kNoThumbnail, kNotWritten };

// The stored thumbnail of a settings file as `jpegName` in web_images.
PresetPicture WritePresetThumbnail(HtmlPage& page, const std::string& settingsPath,
                                   const std::string& jpegName) {
  TiledImage stored;
  InitTiledImage(stored);
  if (!CreateTiledImage(stored, kThumbnailSide, kThumbnailSide, kFormatPacked8))
    return PresetPicture::kNotWritten;
  RenderParams values{};
  const SettingsReadResult read =
      ReadSettingsFile(settingsPath.c_str(), SettingsReadMode::ThumbnailOnly, values, &stored);
  PresetPicture result = PresetPicture::kNoThumbnail;
  TiledImage thumbnail;
  InitTiledImage(thumbnail);
  if (read.status == 0 && read.thumbnailPresent && read.thumbnailWidth > 0 &&
      read.thumbnailHeight > 0) {
    result = PresetPicture::kNotWritten;
    if (CreateTiledImage(thumbnail, read.thumbnailWidth, read.thumbnailHeight, kFormatPacked8)) {
      for (std::int32_t y = 0; y < read.thumbnailHeight; ++y) {
        for (std::int32_t x = 0; x < read.thumbnailWidth; ++x) {
          WritePacked(thumbnail, x, y, 0, ReadPacked(stored, x, y, 0));
        }
      }
      if (WritePagePicture(page, thumbnail, jpegName)) result = PresetPicture::kWritten;
    }
  }
  ReleaseTiledImage(thumbnail);
  ReleaseTiledImage(stored);
  return result;
}

// "<stem>.jpg", or "<stem> 2.jpg", "<stem> 3.jpg" ... when a name that
// differs only in case is taken already: on file systems that ignore case
// (Windows, macOS) two such pictures would be one file.
std::string DistinctPictureName(const std::string& stem, std::set<std::string>& taken) {
  auto folded = [](std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
  };
  std::string name = stem + ".jpg";
  for (int n = 2; !taken.insert(folded(name)).second; ++n)
    name = stem + " " + std::to_string(n) + ".jpg";
  return name;
}

std::int16_t FinishPage(HtmlPage& page) { return EndHtmlPage(page) ? 0 : kPageNotWritten; }

}  // namespace

void DotPictureSize(std::int32_t width, std::int32_t height, std::int32_t& outWidth,
                    std::int32_t& outHeight) {
  const std::int64_t longer = std::max<std::int64_t>(1, std::max(width, height));
  outWidth = static_cast<std::int32_t>(
      std::max<std::int64_t>(1, std::int64_t{std::max(width, 0)} * kDotPictureSide / longer));
  outHeight = static_cast<std::int32_t>(
      std::max<std::int64_t>(1, std::int64_t{std::max(height, 0)} * kDotPictureSide / longer));
}

std::int16_t WritePresetsPage(const char* folder, const char* pagePath, CancelTest cancelled) {
  HtmlPage page;
  if (!BeginHtmlPage(page, pagePath, HtmlPageKind::kPresets, kPresetsColumns, folder)) {
    AbandonHtmlPage(page);
    return kPageNotCreated;
  }
  std::vector<std::string> names;
  if (folder == nullptr || !ListSettingsFiles(folder, names)) {
    AbandonHtmlPage(page);
    return kFolderNotRead;
  }
  std::set<std::string> taken;
  for (const std::string& name : names) {
    const std::string stem = name.substr(0, name.size() - 4);
    const std::string jpegName = DistinctPictureName(stem, taken);
    const std::string settingsPath = Utf8FromPath(PathFromUtf8(folder) / PathFromUtf8(name));
    switch (WritePresetThumbnail(page, settingsPath, jpegName)) {
      case PresetPicture::kWritten:
        PutHtmlCell(page, jpegName.c_str(), stem.c_str(), kPresetCellSide, kPresetCellSide);
        break;
      case PresetPicture::kNoThumbnail:
        SkipHtmlCell(page);
        break;
      case PresetPicture::kNotWritten:
        AbandonHtmlPage(page);
        return kPageNotWritten;
    }
    if (cancelled && cancelled()) {
      AbandonHtmlPage(page);
      return kPageCancelled;
    }
  }
  return FinishPage(page);
}

std::int16_t WriteMemoryDotsPage(const ExportRun& run, const char* pagePath) {
  if (!run.job.params) return kPageNotCreated;
  HtmlPage page;
  if (!BeginHtmlPage(page, pagePath, HtmlPageKind::kMemoryDots, kMemoryDotsColumns, nullptr)) {
    AbandonHtmlPage(page);
    return kPageNotCreated;
  }
  const PsdJob job =
      MakePsdJob(run.job.destination.kind, run.imageWidth, run.imageHeight, *run.job.params);
  std::int32_t width = 0, height = 0;
  DotPictureSize(job.width, job.height, width, height);

  // Every dot over the current settings.
  const RenderParams& current = *run.job.params;
  for (int dot = kFirstPageDot; dot <= kLastPageDot; ++dot) {
    char path[kPathBytes];
    if (!MemoryDotFilePath(dot, path)) continue;
    RenderParams values = current;
    const SettingsReadResult read =
        ReadSettingsFile(path, SettingsReadMode::Values, values, nullptr);
    if (read.status != 0 || read.version == 0) continue;  // the dot holds no settings

    char name[32];
    std::snprintf(name, sizeof name, "dot %d", dot);
    const std::string jpegName = std::string(name) + ".jpg";
    TiledImage picture;
    InitTiledImage(picture, run.job.blocks);
    bool ok = CreateTiledImage(picture, width, height, kFormatPacked8);
    if (ok) {
      RenderJob job = run.job;
      job.params = &values;
      ok = RenderIntoImage(job, picture, nullptr) == RenderStatus::kDone;
    }
    const bool rendered = ok;
    ok = ok && WritePagePicture(page, picture, jpegName);
    ReleaseTiledImage(picture);
    if (ok) {
      PutHtmlCell(page, jpegName.c_str(), name, width, height);
    } else if (rendered) {
      AbandonHtmlPage(page);  // a picture that cannot be written fails the page
      return kPageNotWritten;
    } else {
      SkipHtmlCell(page);
    }
  }
  return FinishPage(page);
}

}  // namespace stellane
