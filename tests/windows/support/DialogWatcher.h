// Closes every modal dialog that the code under test opens on this thread,
// and remembers what each showed, so that tests can run code that opens the
// about box or a refusal message without a user to click it away.
#pragma once

#include <string>
#include <vector>

namespace wintest {

struct SeenDialog {
  std::string title;
  std::vector<std::string> texts;                 // the captions of its controls, in order
  long left = 0, top = 0, right = 0, bottom = 0;  // the window on the screen
  void* owner = nullptr;
};

// Starts watching (idempotent). Dialogs are closed as the dialog's close box
// would close them.
void WatchDialogs();
std::vector<SeenDialog> TakeSeenDialogs();

// Called for every dialog as it is seen, before it is closed.
void OnDialogSeen(void (*listener)(const SeenDialog&));

}  // namespace wintest
