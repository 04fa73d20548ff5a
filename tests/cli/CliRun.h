// Running the built `stellane` from a test: its exit status and what it
// printed, with files in a scratch folder of the test's own (relative to
// the build folder, so that paths mean the same under Wine).
#pragma once

#include <string>
#include <vector>

namespace clitest {

struct CliResult {
  int exitCode = -1;
  std::string out;  // stdout
  std::string err;  // stderr
};

// Runs the program beside the tests with `args`, each passed as one argument.
CliResult RunStellane(const std::vector<std::string>& args);

// Sets or (with an empty value) clears an environment variable for the
// programs started afterwards.
void SetEnvironment(const std::string& name, const std::string& value);

// How the shell of this platform runs `stellane` with quoted arguments and
// stdout/stderr sent to files.
std::string CommandLine(const std::vector<std::string>& args, const std::string& outFile,
                        const std::string& errFile);
// The exit status from what std::system returned.
int ExitStatus(int systemResult);

// A fresh, empty folder for the current test: "cli-tmp/<suite>.<test>/".
std::string ScratchFolder();

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
bool Exists(const std::string& path);
// Names in `folder`, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace clitest
