#pragma once
// The keyboard cues of a window (UISF_HIDEFOCUS: focus indicators hidden; UISF_HIDEACCEL: access-key
// underlines hidden), kept by the protocol the system documents: WM_CHANGEUISTATE climbs to the
// top-level window, which decides and passes WM_UPDATEUISTATE down to every window below it, and
// WM_QUERYUISTATE reads a window's state. Wine's DefWindowProc answers 0 to all three and passes
// nothing on, so the form and every window of a control keep and pass on their state themselves.
#include <windows.h>

namespace tessel {

class KeyboardCues {
 public:
  // Handles WM_CHANGEUISTATE, WM_UPDATEUISTATE and WM_QUERYUISTATE for hwnd; false for any other
  // message. changed tells whether this window's state changed.
  bool Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result, bool& changed);
  // A new window starts with the state of the window it stands on, as the system's windows do.
  void Inherit(HWND parent);
  bool FocusHidden() const { return (state_ & UISF_HIDEFOCUS) != 0; }
  bool AccessKeysHidden() const { return (state_ & UISF_HIDEACCEL) != 0; }

 private:
  WORD state_ = 0;
};

// The state UIS_INITIALIZE asks for: every cue shown when the user asked the system to show them
// always, hidden otherwise until a key shows them.
WORD InitialCueAction();

}  // namespace tessel
