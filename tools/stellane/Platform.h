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

// Whether the plug-in shows its dialog on this platform (the Windows build).
bool PluginDialogAvailable();

// Worker processes: this program started again with `args` (after the
// program's name), its stdout discarded and its stderr written to the file
// `errorFile`. StartWorker returns the worker's id, or -1 when it could not
// be started; WaitForWorker waits until one of `workers` ends and returns
// its index there, with its exit status in `exitCode`.
long long StartWorker(const std::vector<std::string>& args, const std::string& errorFile);
std::size_t WaitForWorker(const std::vector<long long>& workers, int& exitCode);

// The environment variables that name the temporary folder for this process
// (and the plug-in loaded into it): TMPDIR, or TMP and TEMP on Windows.
std::vector<const char*> TempFolderVariables();
// Sets (or, with no value, removes) an environment variable of this process.
void SetEnvironmentValue(const char* name, const std::optional<std::string>& value);

// Ctrl-C sets a flag instead of ending the process, so that the run can be
// cancelled through the plug-in and no partial output is left behind.
// Forces a written file's bytes to the disk; false when that fails.
bool SyncFile(const std::string& path);

// Ctrl-C (SIGINT) and SIGTERM set a flag instead of ending the process, so
// that a run can be cancelled through the plug-in. While temporary output
// files exist, they are removed and the process ends at once with
// InterruptExitCode().
void InstallInterruptHandler();
bool InterruptRequested();
// 130 after SIGINT, 143 after SIGTERM, as shells report them.
int InterruptExitCode();
// Raises the interrupt the way Ctrl-C does (used by the test hook).
void RaiseInterrupt();
// Test hook: raises the signal numbered in the environment variable
// STELLANE_TEST_SIGNAL_WHILE_WRITING, if set, as if it came while an
// output was being written.
void RaiseTestSignalWhileWriting();
// The temporary files the interrupt removes (at most a few at a time).
void RememberTemporary(const std::string& path);
void ForgetTemporary(const std::string& path);
// Removes a file from inside a signal handler.
void RemoveFileFromSignalHandler(const char* path);

}  // namespace cli
