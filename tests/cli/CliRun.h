// Running the built `stellane` from a test: its exit status and what it
// printed, with files in a scratch folder of the test's own (relative to
// the build folder, so that paths mean the same under Wine).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace clitest {

struct CliResult {
  int exitCode = -1;
  std::string out;  // stdout
  std::string err;  // stderr
};

// Resource limits of a run, where the platform can set them (Linux; the
// memory limit not under AddressSanitizer, whose shadow memory alone is
// larger).
enum class Limits {
  kNone,
  kMemoryAndTime,  // 100 MB of address space, one second of processor time
  kSmallFiles,     // no file larger than a few kilobytes, as on a full disk
};
// True when `limits` are applied on this platform.
bool LimitsApply(Limits limits);

// Runs the program beside the tests with `args`, each passed as one argument.
CliResult RunStellane(const std::vector<std::string>& args, Limits limits = Limits::kNone);

// Runs the program with `args` and succeeds when it exits with 0 and says
// nothing on stderr; the failure names the exit status and what it said.
::testing::AssertionResult Succeeds(const std::vector<std::string>& args,
                                    CliResult* result = nullptr);
// Succeeds when `text` holds `part`; the failure shows the whole text.
::testing::AssertionResult Holds(const std::string& text, const std::string& part);

// Sets or (with an empty value) clears an environment variable for the
// programs started afterwards.
void SetEnvironment(const std::string& name, const std::string& value);

// The program beside the tests.
std::string ProgramPath();

// Runs `stellane` beside the tests with stdout and stderr sent to files and
// returns its exit status (-1 when it could not be started or was killed).
int RunProgram(const std::vector<std::string>& args, const std::string& outFile,
               const std::string& errFile, Limits limits = Limits::kNone);

// A fresh, empty folder for the current test: "cli-tmp/<suite>.<test>/".
std::string ScratchFolder();

// Paths are UTF-8 on every platform.
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
bool Exists(const std::string& path);
// Names in `folder`, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace clitest
