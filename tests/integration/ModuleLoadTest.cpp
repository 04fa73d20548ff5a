// The built plug-in module, loaded as a host loads it, answering the
// selectors through its real export.
#include <gtest/gtest.h>

#include "testhost/PluginModule.h"
#include "testhost/TestHost.h"

namespace {

using testhost::PluginModule;

TEST(ModuleLoad, ExportedEntryAnswersEverySelector) {
  std::string error;
  const auto module = PluginModule::Load(STELLANE_PLUGIN_PATH, &error);
  ASSERT_NE(module, nullptr) << error;
  ASSERT_NE(module->Entry(), nullptr);

  testhost::TestHost host(module->Entry());
  host.SetImage(testhost::Image::Make(16, 11, 3, 8));
  EXPECT_EQ(host.About(), 0);
  EXPECT_EQ(host.Log().handlesAllocated, 0);

  const testhost::RunReport run = host.RunFilter({.withParameters = true});
  EXPECT_EQ(run.parametersResult, 0);
  EXPECT_EQ(run.prepareResult, 0);
  EXPECT_EQ(run.startResult, 0);
  EXPECT_EQ(run.result, 0);
  EXPECT_TRUE(run.finishCalled);
  EXPECT_GT(run.rowsDelivered, 0);
  EXPECT_EQ(host.Call(6), -30100);
  host.EndRun();

  EXPECT_EQ(host.OutstandingBuffers(), 0);
  EXPECT_EQ(host.TotalHandleLocks(), 0);
  EXPECT_EQ(host.OutstandingHandles(), 2);
  EXPECT_TRUE(host.Log().protocolErrors.empty());
}

TEST(ModuleLoad, MissingModuleIsReported) {
  std::string error;
  EXPECT_EQ(PluginModule::Load("no-such-plugin.module", &error), nullptr);
  EXPECT_FALSE(error.empty());
}

}  // namespace
