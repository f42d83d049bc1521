// Key translation: Tab and Shift+Tab, the default (Enter) and cancel (Esc) buttons, and access
// keys, taken before the focused window sees them.
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
        MoveFocus(GetKeyState(VK_SHIFT) >= 0);
        return true;
      case VK_RETURN: {
        HostedControl* site = EnterSite();
        if (!site || !site->Control() || wants(DLGC_WANTALLKEYS)) return false;
        site->Control()->AccessKeyPress(L'\r');
        return true;
      }
      case VK_ESCAPE:
        if (!cancelSite_ || !cancelSite_->Control() || wants(DLGC_WANTALLKEYS)) return false;
        cancelSite_->Control()->AccessKeyPress(static_cast<wchar_t>(27));
        return true;
      default:
        return false;
    }
  }
  if (msg.message == WM_SYSCHAR) {
    const wchar_t key = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(msg.wParam)));
    for (HostedControl* site : tabOrder_) {
      UserControl* control = site->Control();
      const ExtenderProperties& e = site->Extender();
      if (!control || !e.visible || !e.enabled) continue;
      for (wchar_t k : control->AccessKeys()) {
        if (static_cast<wchar_t>(std::towupper(k)) != key) continue;
        FocusSite(*site);
        control->AccessKeyPress(static_cast<wchar_t>(msg.wParam));
        return true;
      }
    }
  }
  return false;
}

}  // namespace tessel
