#pragma once
// The thread's forms and what serves them: keystrokes on their way out of the message queue go to
// the form's PreTranslateMessage, and each window's WM_SETFOCUS reaches the form before the window
// handles it, whoever pumps the messages. The focus is watched without a hook on sent messages
// (one would be called for every message the thread sends): a window about to take the focus is
// subclassed, and its focus message seen there.
#include <windows.h>

namespace tessel {

class Form;

struct FormHooks {
  static void Add(Form* form);     // the first form of the thread installs the hooks
  static void Remove(Form* form);  // the last one removes them, and every window's watch
  static Form* FormOf(HWND w);     // the form whose window holds w, or nullptr

 private:
  static LRESULT CALLBACK MessageProc(int code, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK FocusRequestProc(int code, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK FocusWatchProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace tessel
