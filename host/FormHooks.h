#pragma once
// The thread's forms and the two hooks that serve them: keystrokes on their way out of the message
// queue go to the form's PreTranslateMessage, and each window's WM_SETFOCUS reaches the form before
// the window handles it, whoever pumps the messages.
#include <windows.h>

namespace tessel {

class Form;

struct FormHooks {
  static void Add(Form* form);     // the first form of the thread installs the hooks
  static void Remove(Form* form);  // the last one removes them
  static Form* FormOf(HWND w);     // the form whose window holds w, or nullptr

 private:
  static LRESULT CALLBACK MessageProc(int code, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK FocusProc(int code, WPARAM wp, LPARAM lp);
};

}  // namespace tessel
