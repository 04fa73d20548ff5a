// The dialogs the core opens in the test program are windowless: tests drive
// the dialog's behaviour through their own window, as they do natively.
#include <gtest/gtest.h>

#include "dialog/WindowlessDialog.h"

namespace {

class WindowlessMainDialogEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { stellane::UseWindowlessMainDialog(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new WindowlessMainDialogEnvironment);

}  // namespace
