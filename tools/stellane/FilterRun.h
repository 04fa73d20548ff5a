// One whole filter run of the plug-in on the host's picture, driven the way
// an image editor drives it (parameters when the dialog is wanted, prepare,
// start, continue while rows are requested, finish), with the command line's
// own progress bar and Ctrl-C behind progressProc and abortProc.
#pragma once

#include <cstdint>

#include "testhost/TestHost.h"

namespace cli {

struct FilterRunResult {
  std::int16_t result = 0;  // the first non-zero status of the run, else 0
  bool cancelled = false;   // Ctrl-C, or the plug-in reported a user cancel
};

// `showProgress`: draw a bar on stderr. The picture in `host` holds the
// output after a successful run.
FilterRunResult RunFilterOnce(testhost::TestHost& host, bool withDialog, bool showProgress);

}  // namespace cli
