// Points TMPDIR at a fresh folder for one test, so that the plug-in's
// temporary files (cached settings, dot directory) start from nothing and
// never touch the machine's own temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace stellane {

class ScratchTempFolder {
 public:
  ScratchTempFolder() {
    if (const char* old = std::getenv("TMPDIR")) {
      saved_ = old;
      hadTmpDir_ = true;
    }
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("stellane-") + test->test_suite_name() + "-" + test->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    setenv("TMPDIR", folder_.c_str(), 1);
  }
  ~ScratchTempFolder() {
    if (hadTmpDir_)
      setenv("TMPDIR", saved_.c_str(), 1);
    else
      unsetenv("TMPDIR");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  ScratchTempFolder(const ScratchTempFolder&) = delete;
  ScratchTempFolder& operator=(const ScratchTempFolder&) = delete;

  std::string In(const char* name) const { return (folder_ / name).string(); }
  bool Has(const char* name) const { return std::filesystem::exists(folder_ / name); }

 private:
  std::filesystem::path folder_;
  std::string saved_;
  bool hadTmpDir_ = false;
};

}  // namespace stellane
