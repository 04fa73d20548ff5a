#include "params/RenderParams.h"

#include <cmath>
#include <cstring>

#include "glue/GlueNames.h"
#include "params/ParamTable.h"

namespace stellane {

void LoadDefaults(RenderParams& p) {
  for (const ParamInfo& row : ParamTable()) {
    if (std::isnan(row.defaultValue)) continue;
    if (row.kind == ParamKind::Float)
      SetFloatParam(p, row, float(row.defaultValue));
    else
      SetIntParam(p, row, std::int32_t(row.defaultValue));
  }
}

void InitNewRenderParams(RenderParams& p) {
  // The host's new handle may hold anything; fields the defaults leave alone
  // (spareColor4, spareInt17, dialog state) start from zero.
  std::memset(&p, 0, sizeof p);
  p.previewEnabled = 0;
  p.previewZoom = 1;
  SetTarget(p, RenderTarget::kHostImage);
  p.glue = std::int32_t(GlueMode::kNormal);
  p.settingsFolder[0] = '\0';
  p.psdFolder[0] = '\0';
  p.sourceFolder[0] = '\0';
  std::strncpy(p.settingsFileName, kDefaultSettingsFileName, kPathBytes - 1);
  LoadDefaults(p);
}

}  // namespace stellane
