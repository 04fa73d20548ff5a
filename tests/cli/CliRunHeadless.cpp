#include <sys/wait.h>

#include <cstdlib>

#include "CliRun.h"

namespace clitest {

namespace {

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

int RunProgram(const std::vector<std::string>& args, const std::string& outFile,
               const std::string& errFile, Limits limits) {
  std::string line = Quote(ProgramPath());
  if (limits == Limits::kMemoryAndTime && LimitsApply(limits))
    line = "ulimit -v 102400 && ulimit -t 1 && exec " + line;
  // Writes beyond the limit fail with EFBIG once SIGXFSZ is ignored.
  if (limits == Limits::kSmallFiles) line = "trap '' XFSZ && ulimit -f 4 && exec " + line;
  for (const std::string& arg : args) line += " " + Quote(arg);
  line += " >" + Quote(outFile) + " 2>" + Quote(errFile) + " </dev/null";
  const int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool LimitsApply(Limits limits) {
#ifdef __SANITIZE_ADDRESS__
  return limits != Limits::kMemoryAndTime;
#else
  (void)limits;
  return true;
#endif
}

void SetEnvironment(const std::string& name, const std::string& value) {
  if (value.empty())
    unsetenv(name.c_str());
  else
    setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace clitest
