#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "stellane/Platform.h"

namespace cli {

std::string ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  return self.parent_path().string() + "/";
}

const char* DefaultPluginFileName() { return "Stellane.so"; }

bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

std::vector<const char*> TempFolderVariables() { return {"TMPDIR"}; }

void SetEnvironmentValue(const char* name, const std::optional<std::string>& value) {
  if (value)
    setenv(name, value->c_str(), 1);
  else
    unsetenv(name);
}

bool SyncFile(const std::string& path) {
  const int file = open(path.c_str(), O_RDONLY);
  if (file < 0) return false;
  const bool synced = fsync(file) == 0;
  return close(file) == 0 && synced;
}

void RemoveFileFromSignalHandler(const char* path) { unlink(path); }

}  // namespace cli
