#include <cstdlib>

#include "CliRun.h"

namespace clitest {

namespace {

// cmd.exe's quoting: double quotes around every argument; our arguments
// hold no double quotes of their own.
std::string Quote(const std::string& arg) { return "\"" + arg + "\""; }

std::string Backslashes(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace

std::string CommandLine(const std::vector<std::string>& args, const std::string& outFile,
                        const std::string& errFile) {
  // cmd.exe drops the outer quotes of a line that starts with one.
  std::string line = "\"" STELLANE_CLI_NAME;
  for (const std::string& arg : args) line += " " + Quote(arg);
  return line + " >" + Quote(Backslashes(outFile)) + " 2>" + Quote(Backslashes(errFile)) + "\"";
}

int ExitStatus(int systemResult) { return systemResult; }

void SetEnvironment(const std::string& name, const std::string& value) {
  _putenv((name + "=" + value).c_str());
}

}  // namespace clitest
