// A settings file goes to the plug-in whole. A script cannot carry it: the
// plug-in's scripts hold colours with 8 bits, its settings files with 16. So
// the values become the cached settings file that the plug-in reads at the
// start of a run that plays no script, in a temporary folder of the run's
// own, at which the process's temporary folder points while the object
// lives.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "params/RenderParams.h"

namespace cli {

class SettingsHandOver {
 public:
  // Throws a CliError when the folder or the file can't be made.
  explicit SettingsHandOver(const stellane::RenderParams& params);
  // Points the temporary folder back and removes the run's folder.
  ~SettingsHandOver();
  SettingsHandOver(const SettingsHandOver&) = delete;
  SettingsHandOver& operator=(const SettingsHandOver&) = delete;

 private:
  std::string folder_;
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

}  // namespace cli
