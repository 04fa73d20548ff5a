#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "stellane/Platform.h"

namespace cli {

std::string ExecutableFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ".\\";
  std::string folder(path, length);
  const std::size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? ".\\" : folder.substr(0, slash + 1);
}

const char* DefaultPluginFileName() { return "Stellane.8bf"; }

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

std::vector<const char*> TempFolderVariables() { return {"TMP", "TEMP"}; }

// The runtime's copy and the process's own (which GetTempPath reads) both.
void SetEnvironmentValue(const char* name, const std::optional<std::string>& value) {
  _putenv_s(name, value ? value->c_str() : "");
  SetEnvironmentVariableA(name, value ? value->c_str() : nullptr);
}

}  // namespace cli
