// What the command-line host needs from the operating system beyond
// standard C++: where it is installed, whether stderr is a terminal, and
// Ctrl-C turned into a flag that the plug-in's abortProc answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

// The folder holding the running executable, with a trailing separator.
std::string ExecutableFolder();

// The module file name a host of this platform loads: "Stellane.so" or
// "Stellane.8bf".
const char* DefaultPluginFileName();

bool StderrIsTerminal();

// The environment variables that name the temporary folder for this process
// (and the plug-in loaded into it): TMPDIR, or TMP and TEMP on Windows.
std::vector<const char*> TempFolderVariables();
// Sets (or, with no value, removes) an environment variable of this process.
void SetEnvironmentValue(const char* name, const std::optional<std::string>& value);

// Ctrl-C sets a flag instead of ending the process, so that the run can be
// cancelled through the plug-in and no partial output is left behind.
void InstallInterruptHandler();
bool InterruptRequested();
// Raises the interrupt the way Ctrl-C does (used by the test hook).
void RaiseInterrupt();

}  // namespace cli
