#include "host/FormHooks.h"

#include <algorithm>
#include <vector>

#include "host/Form.h"

namespace tessel {
namespace {

thread_local std::vector<Form*> forms;
thread_local HHOOK messageHook = nullptr;
thread_local HHOOK focusHook = nullptr;  // sees each window's WM_SETFOCUS before the window does

}  // namespace

void FormHooks::Add(Form* form) {
  forms.push_back(form);
  if (!messageHook) messageHook = SetWindowsHookExW(WH_GETMESSAGE, MessageProc, nullptr, GetCurrentThreadId());
  if (!focusHook) focusHook = SetWindowsHookExW(WH_CALLWNDPROC, FocusProc, nullptr, GetCurrentThreadId());
}

void FormHooks::Remove(Form* form) {
  forms.erase(std::remove(forms.begin(), forms.end(), form), forms.end());
  if (forms.empty()) {
    if (messageHook) UnhookWindowsHookEx(messageHook);
    if (focusHook) UnhookWindowsHookEx(focusHook);
    messageHook = focusHook = nullptr;
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

LRESULT CALLBACK FormHooks::FocusProc(int code, WPARAM wp, LPARAM lp) {
  // The focus message itself, not the request to move the focus: a request can be refused or
  // overtaken, the message comes only once the window has the focus.
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && sent->message == WM_SETFOCUS) {
    if (Form* form = FormOf(sent->hwnd)) {
      try {
        form->FocusArrived(sent->hwnd);
      } catch (...) {
        ReportToDebugger(L"form", L"focus notifications", CurrentErrorText());
      }
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace tessel
