#pragma once
// The focus entering and leaving the controls of a thread, whatever moved it (the container's Tab,
// a click, a program's SetFocus): the system's focus event of the thread, raised once the window
// that lost the focus was told and before the one that has it is, tells a control that the focus
// left it and the next that it came, before the next one's own GotFocus, as on a form.
#include <windows.h>

namespace tessel::ole {

class FocusListener {
 public:
  virtual ~FocusListener() = default;
  virtual HWND FocusRoot() const = 0;  // the window the listener's control stands in (null: none)
  virtual void FocusEntered() = 0;     // the focus came to FocusRoot or a window inside it
  virtual void FocusLeft() = 0;        // the focus went from inside FocusRoot to a window outside it
};

// Listens while registered; the hook stays installed while any listener of the thread is.
void WatchFocus(FocusListener& listener);
void StopWatchingFocus(FocusListener& listener);

}  // namespace tessel::ole
