// What the windowless build was asked to show, for tests and for hosts that
// want to tell their user in their own way.
#pragma once

namespace stellane {

struct HeadlessUiLog {
  int aboutBoxes = 0;
  int hostTooOldRefusals = 0;
  int cannotFilterRefusals = 0;
};

HeadlessUiLog& HeadlessUi();

}  // namespace stellane
