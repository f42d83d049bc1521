#include "olehost/FocusWatch.h"

#include <algorithm>
#include <vector>

#include "server/contract/ThisModule.h"

namespace tessel::ole {

namespace {

struct ThreadWatch {
  HHOOK hook = nullptr;
  std::vector<FocusListener*> listeners;
};
thread_local ThreadWatch t_watch;

bool Inside(HWND root, HWND w) { return root && w && (w == root || IsChild(root, w)); }

LRESULT CALLBACK FocusProc(int code, WPARAM wp, LPARAM lp) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && sent->message == WM_SETFOCUS) {
    const HWND to = sent->hwnd, from = reinterpret_cast<HWND>(sent->wParam);
    // A listener may stop listening while it is told: tell a copy, leavers first.
    const std::vector<FocusListener*> listeners = t_watch.listeners;
    for (FocusListener* l : listeners)
      if (Inside(l->FocusRoot(), from) && !Inside(l->FocusRoot(), to)) l->FocusLeft();
    for (FocusListener* l : listeners)
      if (Inside(l->FocusRoot(), to) && !Inside(l->FocusRoot(), from)) l->FocusEntered();
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

void WatchFocus(FocusListener& listener) {
  auto& w = t_watch;
  if (std::find(w.listeners.begin(), w.listeners.end(), &listener) != w.listeners.end()) return;
  if (!w.hook) w.hook = SetWindowsHookExW(WH_CALLWNDPROC, &FocusProc, nullptr, GetCurrentThreadId());
  w.listeners.push_back(&listener);
}

void StopWatchingFocus(FocusListener& listener) {
  auto& w = t_watch;
  std::erase(w.listeners, &listener);
  if (w.listeners.empty() && w.hook) {
    UnhookWindowsHookEx(w.hook);
    w.hook = nullptr;
  }
}

}  // namespace tessel::ole
