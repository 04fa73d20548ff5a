// The exports reached from the dialog: the "PSD" button (the window runs the
// export and shows its progress) and the HTML pages of presets ("^") and of
// memory dots (right click on the thumbnail).
#include <algorithm>
#include <cstring>

#include "dialog/ExportRunOf.h"
#include "dialog/MainDialog.h"
#include "export/HtmlPages.h"

namespace stellane {

namespace {

// The folder part of `path`, separator included.
void FolderOf(const char* path, char (&folder)[kPathBytes]) {
  const char* slash = std::max(std::strrchr(path, '/'), std::strrchr(path, '\\'));
  const std::size_t length = slash ? static_cast<std::size_t>(slash - path + 1) : 0;
  std::memcpy(folder, path, length);
  folder[length] = '\0';
}

}  // namespace

void PsdExportCommand(Globals& g) {
  RenderParams& p = *g.params;
  char path[kPathBytes] = {};
  DialogWindow& w = Window(g);
  if (!w.ChooseFile(FileChoice::SavePsd, p.psdFolder, "Stellane result.psd", path)) return;
  // The next export of this run starts where this one went.
  FolderOf(path, p.psdFolder);
  w.RunPsdExport(g, path);
}

void PresetPageCommand(Globals& g, bool memoryDots) {
  if (Session(g).pageRunning) return;
  RenderParams& p = *g.params;
  DialogWindow& w = Window(g);
  char page[kPathBytes] = {};
  if (memoryDots) {
    if (!w.ChooseFile(FileChoice::SaveHtmlPage, p.sourceFolder, "Stellane memory dots.html", page))
      return;
    Session(g).pageRunning = true;
    if (WriteMemoryDotsPage(ExportRunOf(g), page) == 0) w.OpenDocument(page);
    Session(g).pageRunning = false;
    return;
  }
  char any[kPathBytes] = {};
  if (!w.ChooseFile(FileChoice::AnyFileInFolder, p.sourceFolder, "", any)) return;
  FolderOf(any, p.sourceFolder);
  if (!w.ChooseFile(FileChoice::SaveHtmlPage, p.sourceFolder, "Stellane presets.html", page))
    return;
  Session(g).pageRunning = true;
  if (WritePresetsPage(p.sourceFolder, page) == 0) w.OpenDocument(page);
  Session(g).pageRunning = false;
  Session(g).cursor = DialogCursor::Arrow;
  w.SetCursor(DialogCursor::Arrow);
}

}  // namespace stellane
