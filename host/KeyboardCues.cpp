#include "host/KeyboardCues.h"

namespace tessel {
namespace {

constexpr WORD kCueFlags = UISF_HIDEFOCUS | UISF_HIDEACCEL | UISF_ACTIVE;

WORD Applied(WORD state, WORD action, WORD flags) {
  return action == UIS_SET ? static_cast<WORD>(state | flags) : static_cast<WORD>(state & ~flags);
}

}  // namespace

WORD InitialCueAction() {
  BOOL always = FALSE;
  return SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0) && always ? UIS_CLEAR : UIS_SET;
}

void KeyboardCues::Inherit(HWND parent) {
  state_ = parent ? static_cast<WORD>(SendMessageW(parent, WM_QUERYUISTATE, 0, 0) & kCueFlags) : 0;
}

bool KeyboardCues::Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result, bool& changed) {
  changed = false;
  result = 0;
  if (msg == WM_QUERYUISTATE) {
    result = state_;
    return true;
  }
  if (msg != WM_CHANGEUISTATE && msg != WM_UPDATEUISTATE) return false;
  WORD action = LOWORD(wp), flags = HIWORD(wp);
  if (action < UIS_SET || action > UIS_INITIALIZE || (flags & ~kCueFlags) || lp != 0) return true;
  if (msg == WM_CHANGEUISTATE) {
    // A child hands the request to its parent; the top-level window decides for all below it.
    const HWND parent = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
    if (parent) {
      result = SendMessageW(parent, msg, wp, lp);
      return true;
    }
    if (action == UIS_INITIALIZE) {
      action = InitialCueAction();
      if (!flags) flags = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    }
    if (Applied(state_, action, flags) != state_) SendMessageW(hwnd, WM_UPDATEUISTATE, MAKEWPARAM(action, flags), 0);
    return true;
  }
  if (action == UIS_INITIALIZE) return true;  // decided above, never passed down
  const WORD next = Applied(state_, action, flags);
  changed = next != state_;
  state_ = next;
  // Every window below gets the state, whether it changed here or not: a window made since the
  // last change may still hold the old one.
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_UPDATEUISTATE, wp, lp);
  return true;
}

}  // namespace tessel
