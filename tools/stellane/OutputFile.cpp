#include "stellane/OutputFile.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "params/FilePaths.h"
#include "stellane/CliError.h"
#include "stellane/Platform.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

std::string TemporaryBeside(const std::string& destination, const std::string& target) {
  const fs::path path = stellane::PathFromUtf8(destination);
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = path;
    // Keep the extension last: libtiff and friends don't care, people do.
    candidate.replace_filename(
        stellane::PathFromUtf8("." + stellane::Utf8FromPath(path.filename()) + ".part" +
                               std::to_string((stamp + attempt) % 1000000)));
    std::error_code error;
    if (!fs::exists(candidate, error)) return stellane::Utf8FromPath(candidate);
  }
  Fail("cannot write " + target + ": no free temporary name beside it");
}

// The message of a failed write, naming the user's file.
std::string NamingTarget(std::string message, const std::string& temporary,
                         const std::string& target) {
  for (std::size_t at = message.find(temporary); at != std::string::npos;
       at = message.find(temporary, at + target.size()))
    message.replace(at, temporary.size(), target);
  return message;
}

}  // namespace

std::string SystemReason() { return errno != 0 ? std::string(": ") + std::strerror(errno) : ""; }

std::string OutputDestination(const std::string& target) {
  fs::path path = stellane::PathFromUtf8(target);
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    path = fs::weakly_canonical(path, error);
    if (error) Fail("cannot write " + target + ": " + error.message());
  }
  const fs::file_status status = fs::status(path, error);
  if (fs::is_directory(status)) Fail("cannot write " + target + ": it is a folder");
  if (fs::exists(status) && !fs::is_regular_file(status))
    Fail("cannot write " + target +
         ": not a regular file (a device, FIFO or socket cannot be replaced whole)");
  return stellane::Utf8FromPath(path);
}

StagedOutputs::~StagedOutputs() {
  for (const Staged& s : staged_) {
    std::error_code ignored;
    fs::remove(stellane::PathFromUtf8(s.temporary), ignored);
    ForgetTemporary(s.temporary);
  }
}

void StagedOutputs::Write(const std::string& target,
                          const std::function<void(const std::string& temporary)>& write) {
  if (InterruptRequested()) throw CliError{"cancelled; nothing written", InterruptExitCode()};
  const std::string destination = OutputDestination(target);
  const std::string temporary = TemporaryBeside(destination, target);
  RememberTemporary(temporary);
  staged_.push_back({temporary, destination, target});
  try {
    errno = 0;
    write(temporary);
    RaiseTestSignalWhileWriting();
  } catch (const CliError& e) {
    throw CliError{NamingTarget(e.message, temporary, target), e.exitCode};
  }
  errno = 0;
  if (!SyncFile(temporary)) Fail("cannot write " + target + SystemReason());
}

void StagedOutputs::Commit() {
  if (InterruptRequested()) throw CliError{"cancelled; nothing written", InterruptExitCode()};
  while (!staged_.empty()) {
    const Staged s = staged_.front();
    std::error_code error;
    const fs::path destination = stellane::PathFromUtf8(s.destination);
    // The new file keeps the permissions of the one it replaces.
    const fs::file_status old = fs::status(destination, error);
    if (!error && fs::exists(old))
      fs::permissions(stellane::PathFromUtf8(s.temporary), old.permissions(), error);
    error.clear();
    fs::rename(stellane::PathFromUtf8(s.temporary), destination, error);
    if (error) Fail("cannot write " + s.target + ": " + error.message());
    ForgetTemporary(s.temporary);
    staged_.erase(staged_.begin());
  }
}

void WriteThroughTemporary(const std::string& target,
                           const std::function<void(const std::string& temporary)>& write) {
  StagedOutputs outputs;
  outputs.Write(target, write);
  outputs.Commit();
}

}  // namespace cli
