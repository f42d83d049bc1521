// Key translation: Tab and Shift+Tab, the arrow keys an option button hands to its group, the
// default (Enter) and cancel (Esc) buttons, and access keys, taken before the focused window sees
// them. Only controls that can take the focus (they and every frame around them visible and
// enabled) are reached.
#include <cwctype>

#include "host/Form.h"

namespace tessel {

bool Form::PreTranslateMessage(MSG& msg) {
  if (!hwnd_ || !ambient_.userMode) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  auto wants = [&msg](LRESULT mask) {
    const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    return (code & mask) != 0;
  };
  if (msg.message == WM_KEYDOWN) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    switch (msg.wParam) {
      case VK_TAB:
        if (ctrl || alt || wants(DLGC_WANTTAB | DLGC_WANTALLKEYS)) return false;
        // From the window the key was sent to: the focus may have left the form meanwhile.
        ShowKeyboardCues();
        MoveFocusFrom(GetFocus() && IsChild(hwnd_, GetFocus()) ? GetFocus() : msg.hwnd, GetKeyState(VK_SHIFT) >= 0);
        return true;
      case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
        return MoveInOptionGroup(msg.hwnd, msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN);
      case VK_RETURN: {
        HostedControl* site = EnterSite();
        if (!site || !site->Control() || wants(DLGC_WANTALLKEYS)) return false;
        site->Control()->AccessKeyPress(L'\r');
        return true;
      }
      case VK_ESCAPE:
        if (!cancelSite_ || !cancelSite_->Control() || !Reachable(*cancelSite_) || wants(DLGC_WANTALLKEYS))
          return false;
        cancelSite_->Control()->AccessKeyPress(static_cast<wchar_t>(27));
        return true;
      default:
        return false;
    }
  }
  if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_MENU) {
    // Alt shows every cue, as in a dialog; the key goes on to the system's menu handling.
    ShowKeyboardCues(UISF_HIDEFOCUS | UISF_HIDEACCEL);
    return false;
  }
  if (msg.message == WM_SYSCHAR) {
    const wchar_t key = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(msg.wParam)));
    for (HostedControl* site : tabOrder_) {
      UserControl* control = site->Control();
      if (!control || !Reachable(*site)) continue;
      for (wchar_t k : control->AccessKeys()) {
        if (static_cast<wchar_t>(std::towupper(k)) != key) continue;
        ShowKeyboardCues();
        FocusSite(*site);
        control->AccessKeyPress(static_cast<wchar_t>(msg.wParam));
        return true;
      }
    }
  }
  return false;
}

void Form::ShowKeyboardCues(WORD cues) {
  // As a dialog does, before the focus moves: the new state goes down to every window of the
  // form, and the one that gets the focus draws its cue at once.
  if (hwnd_) SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, cues), 0);
}

}  // namespace tessel
