// Every test runs with its own empty temporary folder, so the plug-in's
// files there (cached settings, undo files, memory dots, the dot directory)
// never leak from one test into another or into the machine's own folder.
#include <gtest/gtest.h>

#include <memory>

#include "../unit/ScratchTempFolder.h"

namespace stellane {
namespace {

class IsolatedTempFolders : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    folder_ = std::make_unique<ScratchTempFolder>();
  }
  void OnTestEnd(const ::testing::TestInfo&) override { folder_.reset(); }

  std::unique_ptr<ScratchTempFolder> folder_;
};

const bool installed = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new IsolatedTempFolders);
  return true;
}();

}  // namespace
}  // namespace stellane
