// Starts the dialog watcher before the first test of the program, so that no
// test anywhere in it can hang on a modal dialog.
#include <gtest/gtest.h>

#include "DialogWatcher.h"

namespace {

class WatchDialogsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { wintest::WatchDialogs(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new WatchDialogsEnvironment);

}  // namespace
