// The exports reached from the dialog: the "PSD" button and the HTML pages
// of presets ("^") and of memory dots (right click on the thumbnail).
#include "dialog/MainDialog.h"
#include "export/PsdExport.h"

namespace stellane {

void PsdExportCommand(Globals& g) {
  RenderParams& p = *g.params;
  char path[kPathBytes] = {};
  if (!Window(g).ChooseFile(FileChoice::SavePsd, p.psdFolder, "Stellane.psd", path)) return;
  ExportPsd(g, path, nullptr);
}

// The HTML pages are not connected yet: the commands do nothing.
void PresetPageCommand(Globals&, bool) {}

}  // namespace stellane
