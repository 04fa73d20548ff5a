#include "stellane/Commands.h"

namespace cli {

bool WantsHelp(const Arguments& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

}  // namespace cli
