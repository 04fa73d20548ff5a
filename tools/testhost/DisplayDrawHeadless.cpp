// Without a window system the calls are only recorded.
#include "testhost/DisplayDraw.h"

namespace testhost {

void DrawDisplayCall(const DisplayCall&) {}

}  // namespace testhost
