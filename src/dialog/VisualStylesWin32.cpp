// The activation context of the module's manifest (resource 2, Common
// Controls 6): windows created while it is active get the system's visual
// styles. A plug-in cannot rely on its host's manifest, so the dialog and its
// choosers activate ours around themselves.
#include "dialog/VisualStylesWin32.h"

namespace stellane {

HANDLE CreateVisualStyles(HINSTANCE module) {
  char path[MAX_PATH] = {};
  if (!GetModuleFileNameA(module, path, sizeof path)) return INVALID_HANDLE_VALUE;
  ACTCTXA context = {};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.hModule = module;
  context.lpSource = path;
  context.lpResourceName = ISOLATIONAWARE_MANIFEST_RESOURCE_ID;
  return CreateActCtxA(&context);
}

void ReleaseVisualStyles(HANDLE styles) {
  if (styles != INVALID_HANDLE_VALUE) ReleaseActCtx(styles);
}

VisualStylesScope::VisualStylesScope(HANDLE styles) {
  if (styles != INVALID_HANDLE_VALUE && !ActivateActCtx(styles, &cookie)) cookie = 0;
}

VisualStylesScope::~VisualStylesScope() {
  if (cookie) DeactivateActCtx(0, cookie);
}

}  // namespace stellane
