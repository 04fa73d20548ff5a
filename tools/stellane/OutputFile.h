// Output written beside its target under a temporary name, flushed to the
// disk and renamed over the target only when complete, so that a failure,
// a full disk or a cancel never leaves a half-written file nor removes the
// file that was there.
//
// Targets: a symbolic link is written through (the file it points to is
// replaced, the link stays), as shells and most tools do; a folder, device,
// FIFO or socket is refused, since it cannot be replaced whole.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace cli {

// The outputs of one command, put in place together: nothing is renamed
// until every one of them is complete. Temporary files left when the
// command fails (or on Ctrl-C / SIGTERM) are removed.
class StagedOutputs {
 public:
  StagedOutputs() = default;
  StagedOutputs(const StagedOutputs&) = delete;
  StagedOutputs& operator=(const StagedOutputs&) = delete;
  ~StagedOutputs();

  // Calls `write` with a fresh temporary path beside `target`. A CliError
  // from `write` is passed on naming `target` instead of the temporary file.
  void Write(const std::string& target,
             const std::function<void(const std::string& temporary)>& write);
  // Renames every temporary file over its target.
  void Commit();

 private:
  struct Staged {
    std::string temporary, destination, target;  // target: as the user named it
  };
  std::vector<Staged> staged_;
};

// One output on its own: Write, then Commit.
void WriteThroughTemporary(const std::string& target,
                           const std::function<void(const std::string& temporary)>& write);

// Where an output named `target` is written: the file itself, or the file a
// symbolic link points to. Throws CliError for a folder, device, FIFO or
// socket.
std::string OutputDestination(const std::string& target);

// The last system error as text, for messages: ": No space left on device",
// or empty when there is none.
std::string SystemReason();

}  // namespace cli
