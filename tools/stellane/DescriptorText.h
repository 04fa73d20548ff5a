// A recorded scripting descriptor as a small text file, one item a line:
//
//   stellane-descriptor 1
//   # comments and blank lines are ignored
//   0001 long 227
//   GLUE enum GLty GL10
//
// A key and an enumeration type or value are four characters; `long` items
// carry a signed 32-bit decimal integer. Items keep their order.
#pragma once

#include <string>

#include "testhost/Descriptor.h"

namespace cli {

std::string FormatDescriptorText(const testhost::Descriptor& descriptor);

// Throws a CliError naming `source` and the line on malformed text.
testhost::Descriptor ParseDescriptorText(const std::string& text, const std::string& source);

}  // namespace cli
