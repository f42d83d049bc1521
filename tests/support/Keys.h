#pragma once
// Keystrokes as a window gets them from the keyboard: key down, the character, key up.
#include <windows.h>

namespace tessel::test {

// Sent straight to the window, past a form's key handling. ch 0 sends no WM_CHAR; vk 0 takes the key
// that types ch; "\b" and "\r" are typed with Backspace and Enter.
void SendStroke(HWND window, wchar_t ch, UINT vk = 0);
void SendText(HWND window, const wchar_t* text);
// Posted to the window with the focus and pumped: down, then up to whatever has the focus by
// then, so the form's key handling sees both. Shift is held in the thread's keyboard state.
void PressKey(UINT vk, bool shift = false);

}  // namespace tessel::test
