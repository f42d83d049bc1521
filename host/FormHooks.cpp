#include "host/FormHooks.h"

#include <algorithm>
#include <vector>

#include "host/Form.h"
#include "host/WindowTable.h"

namespace tessel {
namespace {

thread_local std::vector<Form*> forms;
thread_local HHOOK messageHook = nullptr;
thread_local HHOOK focusHook = nullptr;  // sees each request to move the focus, before it is made

// A window subclassed to see its WM_SETFOCUS, and the procedure it had. Found in the process: a
// window property (or comctl32's subclassing, which keeps its list in one) costs the system a
// lookup on every message the window gets.
struct FocusWatch {
  WNDPROC previous;
};
using Watched = WindowTable<FocusWatch>;

}  // namespace

void FormHooks::Add(Form* form) {
  forms.push_back(form);
  if (!messageHook) messageHook = SetWindowsHookExW(WH_GETMESSAGE, MessageProc, nullptr, GetCurrentThreadId());
  if (!focusHook) focusHook = SetWindowsHookExW(WH_CBT, FocusRequestProc, nullptr, GetCurrentThreadId());
}

void FormHooks::Remove(Form* form) {
  forms.erase(std::remove(forms.begin(), forms.end(), form), forms.end());
  if (forms.empty()) {
    if (messageHook) UnhookWindowsHookEx(messageHook);
    if (focusHook) UnhookWindowsHookEx(focusHook);
    messageHook = focusHook = nullptr;
    // A window another procedure has subclassed since keeps the watch, which only passes messages
    // on without forms, until it goes.
    for (HWND w : Watched::Windows()) {
      if (GetWindowLongPtrW(w, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&FocusWatchProc)) continue;
      SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Watched::Find(w)->previous));
      Watched::Erase(w);
    }
  }
}

Form* FormHooks::FormOf(HWND w) {
  if (!w) return nullptr;
  HWND root = GetAncestor(w, GA_ROOT);
  for (Form* f : forms)
    if (f->hwnd_ == root) return f;
  return nullptr;
}

LRESULT CALLBACK FormHooks::MessageProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lp);
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
      if (Form* form = FormOf(msg->hwnd)) {
        try {
          if (form->PreTranslateMessage(*msg)) msg->message = WM_NULL;
        } catch (...) {
          // Nothing may unwind through the hook chain; the key goes on as it came.
          ReportToDebugger(L"form", L"key translation", CurrentErrorText());
        }
      }
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK FormHooks::FocusRequestProc(int code, WPARAM wp, LPARAM lp) {
  // A request can be refused or overtaken, so it only arms the watch: the focus message itself comes
  // only once the window has the focus. A window of another thread cannot be subclassed, nor would a
  // thread's own hook on sent messages see it.
  if (code == HCBT_SETFOCUS) {
    const HWND w = reinterpret_cast<HWND>(wp);
    if (w && !Watched::Find(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() && FormOf(w)) {
      if (const auto previous = reinterpret_cast<WNDPROC>(
              SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FocusWatchProc))))
        Watched::Set(w, FocusWatch{previous});
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK FormHooks::FocusWatchProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  const FocusWatch* found = Watched::Find(w);
  if (!found) return DefWindowProcW(w, msg, wp, lp);
  const WNDPROC previous = found->previous;  // the table may change under what the form does
  if (msg == WM_SETFOCUS) {
    if (Form* form = FormOf(w)) {
      try {
        form->FocusArrived(w);
      } catch (...) {
        ReportToDebugger(L"form", L"focus notifications", CurrentErrorText());
      }
    }
  } else if (msg == WM_NCDESTROY) {
    Watched::Erase(w);
  }
  return CallWindowProcW(previous, w, msg, wp, lp);
}

}  // namespace tessel
