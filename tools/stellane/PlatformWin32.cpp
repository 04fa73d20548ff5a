#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "params/FilePaths.h"
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

bool SyncFile(const std::string& path) {
  const HANDLE file = CreateFileW(stellane::PathFromUtf8(path).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool synced = FlushFileBuffers(file) != 0;
  return CloseHandle(file) != 0 && synced;
}

// Windows runs the handler on a thread of its own, where converting the
// UTF-8 path on the stack is safe.
void RemoveFileFromSignalHandler(const char* path) {
  wchar_t wide[4096];
  if (MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, 4096) > 0) DeleteFileW(wide);
}

}  // namespace cli
