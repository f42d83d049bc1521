#pragma once
// The focus entering and leaving the controls of a thread, whatever moved it (the container's Tab,
// a click, a program's SetFocus): a thread hook sees each WM_SETFOCUS before its window does, as a
// form's hook does, so a control hears that the focus left it and the next that it came, before the
// next one's own GotFocus.
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
