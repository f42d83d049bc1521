#include "olehost/FocusWatch.h"

#include <algorithm>
#include <vector>

#include "server/contract/ThisModule.h"

namespace tessel::ole {

namespace {

struct Listening {
  FocusListener* listener;
  bool inside;  // whether the focus was inside its root at the last focus event
};
struct ThreadWatch {
  HWINEVENTHOOK hook = nullptr;
  std::vector<Listening> listeners;
};
thread_local ThreadWatch t_watch;

bool Inside(HWND root, HWND w) { return root && w && (w == root || IsChild(root, w)); }

// The focus event comes after the window that had the focus was told it lost it and before the
// one that has it now is told; unlike a message hook it costs nothing for the thread's other
// messages.
void CALLBACK FocusEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (object != OBJID_CLIENT || child != CHILDID_SELF || !hwnd || hwnd != GetFocus()) return;
  // A listener may stop listening while it is told: tell from a copy, leavers first.
  std::vector<Listening> told = t_watch.listeners;
  std::vector<FocusListener*> entered;
  for (Listening& l : t_watch.listeners) {
    const bool now = Inside(l.listener->FocusRoot(), hwnd);
    if (now && !l.inside) entered.push_back(l.listener);
    l.inside = now;
  }
  const auto stillListening = [](FocusListener* listener) {
    return std::any_of(t_watch.listeners.begin(), t_watch.listeners.end(),
                       [&](const Listening& l) { return l.listener == listener; });
  };
  for (const Listening& l : told)
    if (l.inside && !Inside(l.listener->FocusRoot(), hwnd) && stillListening(l.listener)) l.listener->FocusLeft();
  for (FocusListener* listener : entered)
    if (stillListening(listener)) listener->FocusEntered();
}

}  // namespace

void WatchFocus(FocusListener& listener) {
  auto& w = t_watch;
  for (const Listening& l : w.listeners)
    if (l.listener == &listener) return;
  if (!w.hook)
    w.hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, ThisModule(), &FocusEvent, GetCurrentProcessId(),
                             GetCurrentThreadId(), WINEVENT_INCONTEXT);
  w.listeners.push_back({&listener, Inside(listener.FocusRoot(), GetFocus())});
}

void StopWatchingFocus(FocusListener& listener) {
  auto& w = t_watch;
  std::erase_if(w.listeners, [&](const Listening& l) { return l.listener == &listener; });
  if (w.listeners.empty() && w.hook) {
    UnhookWinEvent(w.hook);
    w.hook = nullptr;
  }
}

}  // namespace tessel::ole
