// Loading a plug-in module as a host does: a missing one is reported, not
// crashed on. (The built module through its export is run by the command
// line's tests and, under Wine, by ModuleSmokeTest.)
#include <gtest/gtest.h>

#include "testhost/PluginModule.h"

namespace {

TEST(ModuleLoad, MissingModuleIsReported) {
  std::string error;
  EXPECT_EQ(testhost::PluginModule::Load("no-such-plugin.module", &error), nullptr);
  EXPECT_FALSE(error.empty());
}

}  // namespace
