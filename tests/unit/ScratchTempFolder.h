// Points the temporary folder at a fresh folder for one test, so that the
// plug-in's temporary files (cached settings, dot directory) start from
// nothing and never touch the machine's own temporary folder. TMPDIR serves
// the native build, TMP and TEMP the Windows one.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

namespace stellane {

// `value` is UTF-8; Windows gets it in wide characters, so that a folder
// outside the ANSI code page reaches the program whole.
inline void SetEnvironment(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
  const std::string text = value ? *value : "";
  const std::wstring wideName(name, name + std::strlen(name));
  _wputenv_s(wideName.c_str(),
             std::filesystem::path(std::u8string(text.begin(), text.end())).wstring().c_str());
#else
  if (value)
    setenv(name, value->c_str(), 1);
  else
    unsetenv(name);
#endif
}

class ScratchTempFolder {
 public:
  ScratchTempFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    // A random part keeps the same test run from two build trees at once
    // (several checkouts on one machine) out of each other's files.
    std::string name = std::string("stellane-") + test->test_suite_name() + "-" + test->name() +
                       "-" + std::to_string(std::random_device{}() % 1000000);
    for (char& c : name)
      if (c == '/') c = '-';  // parameterised tests: one folder, not a tree
    // A folder left by an earlier, interrupted run may hold read-only files
    // that can't be removed; then a fresh name is taken instead.
    const std::filesystem::path base = std::filesystem::temp_directory_path() / name;
    folder_ = base;
    for (int attempt = 1; !RemoveTree(folder_); ++attempt)
      folder_ = base.string() + "-" + std::to_string(attempt);
    std::filesystem::create_directories(folder_);
    for (int i = 0; i < kVariables; ++i) {
      if (const char* old = std::getenv(kNames[i])) saved_[i] = old;
      SetEnvironment(kNames[i], folder_.string());
    }
  }
  ~ScratchTempFolder() {
    for (int i = 0; i < kVariables; ++i) SetEnvironment(kNames[i], saved_[i]);
    RemoveTree(folder_);
  }
  ScratchTempFolder(const ScratchTempFolder&) = delete;
  ScratchTempFolder& operator=(const ScratchTempFolder&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }
  std::string In(const char* name) const { return (folder_ / name).string(); }
  bool Has(const char* name) const { return std::filesystem::exists(folder_ / name); }

 private:
  // Removes `folder` with everything in it, read-only files included;
  // false when something stays behind. Never throws.
  static bool RemoveTree(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::exists(folder, ec)) return true;
    std::error_code ignored;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder, ec);
    return !fs::exists(folder, ec);
  }

  static constexpr int kVariables = 3;
  static constexpr const char* kNames[kVariables] = {"TMPDIR", "TMP", "TEMP"};
  std::filesystem::path folder_;
  std::optional<std::string> saved_[kVariables];
};

}  // namespace stellane
