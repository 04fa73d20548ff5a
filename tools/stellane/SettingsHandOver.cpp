#include "stellane/SettingsHandOver.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

#include "params/SettingsFile.h"
#include "params/TempFolder.h"
#include "stellane/CliError.h"
#include "stellane/Platform.h"

namespace cli {

namespace {

std::filesystem::path FreshFolder() {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) Fail("no temporary folder: " + error.message());
  std::mt19937_64 pick(std::random_device{}() ^
                       std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder = base / ("stellane-settings-" + std::to_string(pick()));
    if (std::filesystem::create_directory(folder, error)) return folder;
  }
  Fail("cannot make a folder in " + base.string() + ": " + error.message());
}

}  // namespace

SettingsHandOver::SettingsHandOver(const stellane::RenderParams& params) {
  const std::filesystem::path folder = FreshFolder();
  folder_ = folder.string();
  const std::string file = (folder / stellane::kCachedSettingsName).string();
  if (stellane::WriteSettingsFile(file.c_str(), params, nullptr) != 0) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    Fail("cannot write " + file);
  }
  for (const char* name : TempFolderVariables()) {
    const char* value = std::getenv(name);
    saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    SetEnvironmentValue(name, folder_);
  }
}

SettingsHandOver::~SettingsHandOver() {
  for (const auto& [name, value] : saved_) SetEnvironmentValue(name, value);
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

}  // namespace cli
