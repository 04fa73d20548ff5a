// Output written beside its target under a temporary name and renamed over
// it only when complete, so a failure or a cancel never leaves a
// half-written file or clobbers an existing one.
#pragma once

#include <functional>
#include <string>

namespace cli {

// Calls `write` with a fresh temporary path in the target's folder, then
// renames it to `target`. If `write` throws, or the rename fails, the
// temporary file is removed and the error passed on.
void WriteThroughTemporary(const std::string& target,
                           const std::function<void(const std::string& temporary)>& write);

}  // namespace cli
