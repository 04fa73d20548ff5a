// The one way a command of the command-line host fails: a one-line message
// for stderr and the exit status. Thrown inside the host only (never through
// the plug-in's callbacks) and caught in main.
#pragma once

#include <string>
#include <utility>

namespace cli {

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;      // a file, the plug-in or the run failed
constexpr int kExitUsage = 2;        // a bad command line
constexpr int kExitCancelled = 130;  // Ctrl-C, as shells report SIGINT

struct CliError {
  std::string message;
  int exitCode = kExitFailure;
};

[[noreturn]] inline void Fail(std::string message) {
  throw CliError{std::move(message), kExitFailure};
}
[[noreturn]] inline void UsageError(std::string message) {
  throw CliError{std::move(message), kExitUsage};
}

}  // namespace cli
