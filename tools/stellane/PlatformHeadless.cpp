#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

bool PluginDialogAvailable() { return false; }

long long StartWorker(const std::vector<std::string>& args, const std::string& errorFile) {
  std::vector<std::string> all{"stellane"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed ? -1 : pid;
}

std::size_t WaitForWorker(const std::vector<long long>& workers, int& exitCode) {
  for (;;) {
    int status = 0;
    const pid_t pid = waitpid(-1, &status, 0);
    if (pid < 0 && errno == EINTR) continue;
    const auto found = std::find(workers.begin(), workers.end(), (long long)pid);
    if (found == workers.end()) {
      if (pid < 0) {  // nothing left to wait for: count the rest as lost
        exitCode = -1;
        return 0;
      }
      continue;
    }
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return std::size_t(found - workers.begin());
  }
}

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
