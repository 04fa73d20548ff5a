#include "stellane/OutputFile.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "stellane/CliError.h"

namespace cli {

namespace {

std::string TemporaryBeside(const std::string& target) {
  const std::filesystem::path path(target);
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = path;
    // Keep the extension last: libtiff and friends don't care, people do.
    candidate.replace_filename("." + path.filename().string() + ".part" +
                               std::to_string((stamp + attempt) % 1000000));
    std::error_code error;
    if (!std::filesystem::exists(candidate, error)) return candidate.string();
  }
  Fail("cannot write " + target + ": no free temporary name beside it");
}

}  // namespace

void WriteThroughTemporary(const std::string& target,
                           const std::function<void(const std::string& temporary)>& write) {
  std::error_code error;
  if (std::filesystem::is_directory(target, error))
    Fail("cannot write " + target + ": it is a folder");
  const std::string temporary = TemporaryBeside(target);
  try {
    write(temporary);
  } catch (...) {
    std::filesystem::remove(temporary, error);
    throw;
  }
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    Fail("cannot write " + target + ": " + error.message());
  }
}

}  // namespace cli
