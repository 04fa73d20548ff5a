// The built-in picture rendered when no input is given: a dusk sky over a
// line of dark hills, generated, so the demo needs no asset.
#pragma once

#include "testhost/Image.h"

namespace cli {

constexpr int kDemoWidth = 960;
constexpr int kDemoHeight = 600;

testhost::Image DemoPicture();

}  // namespace cli
