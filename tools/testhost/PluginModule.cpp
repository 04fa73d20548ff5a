// The only platform-specific code of the test host.
#include "testhost/PluginModule.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace testhost {

namespace {

void SetError(std::string* error, std::string message) {
  if (error) *error = std::move(message);
}

}  // namespace

#if defined(_WIN32)

std::unique_ptr<PluginModule> PluginModule::Load(const std::string& path, std::string* error) {
  HMODULE library = LoadLibraryA(path.c_str());
  if (!library) {
    SetError(error, "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")");
    return nullptr;
  }
  auto entry = reinterpret_cast<PluginMainProc>(
      reinterpret_cast<void*>(GetProcAddress(library, "PluginMain")));
  if (!entry) {
    SetError(error, path + " exports no PluginMain");
    FreeLibrary(library);
    return nullptr;
  }
  return std::unique_ptr<PluginModule>(new PluginModule(library, entry));
}

PluginModule::~PluginModule() { FreeLibrary(static_cast<HMODULE>(library_)); }

void* PluginModule::Symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library_), name));
}

#else

std::unique_ptr<PluginModule> PluginModule::Load(const std::string& path, std::string* error) {
  // dlopen searches the library path for a bare name; we mean this folder.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    SetError(error, why ? why : "cannot load " + path);
    return nullptr;
  }
  auto entry = reinterpret_cast<PluginMainProc>(dlsym(library, "PluginMain"));
  if (!entry) {
    SetError(error, path + " exports no PluginMain");
    dlclose(library);
    return nullptr;
  }
  return std::unique_ptr<PluginModule>(new PluginModule(library, entry));
}

PluginModule::~PluginModule() { dlclose(library_); }

void* PluginModule::Symbol(const char* name) const { return dlsym(library_, name); }

#endif

}  // namespace testhost
