#pragma once
// Keystrokes as a window gets them from the keyboard: key down, the character, key up.
#include "tests/support/Prelude.h"

#include "tests/support/MessagePump.h"

namespace tessel::test {

inline LPARAM KeyDownBits(UINT vk) { return 1 | (static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16); }
inline LPARAM KeyUpBits(UINT vk) { return KeyDownBits(vk) | (3u << 30); }

// Sent straight to the window, past a form's key handling. ch 0 sends no WM_CHAR; vk 0 takes the key
// that types ch; "\b" and "\r" are typed with Backspace and Enter.
inline void SendStroke(HWND window, wchar_t ch, UINT vk = 0) {
  if (!vk) vk = LOBYTE(VkKeyScanW(ch));
  SendMessageW(window, WM_KEYDOWN, vk, KeyDownBits(vk));
  if (ch) SendMessageW(window, WM_CHAR, ch, KeyDownBits(vk));
  SendMessageW(window, WM_KEYUP, vk, KeyUpBits(vk));
}
inline void SendText(HWND window, const wchar_t* text) {
  for (; *text; ++text) SendStroke(window, *text, *text == L'\b' ? VK_BACK : *text == L'\r' ? VK_RETURN : 0);
}
// Posted to the window with the focus and pumped: down, then up to whatever has the focus by
// then, so the form's key handling sees both. Shift is held in the thread's keyboard state.
inline void PressKey(UINT vk, bool shift = false) {
  BYTE state[256], held[256];
  GetKeyboardState(state);
  std::copy(state, state + 256, held);
  if (shift) held[VK_SHIFT] = 0x80;
  SetKeyboardState(held);
  PostMessageW(GetFocus(), WM_KEYDOWN, vk, KeyDownBits(vk));
  Pump(0);
  PostMessageW(GetFocus(), WM_KEYUP, vk, KeyUpBits(vk));
  Pump(0);
  SetKeyboardState(state);
}

}  // namespace tessel::test
