// Loading a plug-in module and finding its `PluginMain`: dlopen on Linux,
// LoadLibrary on Windows. The module stays loaded while this object lives;
// destroy every TestHost that uses the entry first.
#pragma once

#include <memory>
#include <string>

#include "host/PluginApi.h"

namespace testhost {

class PluginModule {
 public:
  // Null, with a message in `error` when given, if the file can't be loaded
  // or exports no `PluginMain`. A bare file name is looked up in the
  // working directory.
  static std::unique_ptr<PluginModule> Load(const std::string& path, std::string* error = nullptr);
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  PluginMainProc Entry() const { return entry_; }
  // Another export of the module by name; null when it has none.
  void* Symbol(const char* name) const;

 private:
  PluginModule(void* library, PluginMainProc entry) : library_(library), entry_(entry) {}
  void* library_;
  PluginMainProc entry_;
};

}  // namespace testhost
