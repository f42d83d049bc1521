#pragma once
// The button and shift arguments of mouse and key events, read from window messages: buttons are
// 1 left, 2 right, 4 middle; shift is 1 Shift, 2 Ctrl, 4 Alt.
#include <windows.h>

#include <cstdint>

namespace tessel {

// The button a press, release or double-click message is about; 0 for any other message.
inline int16_t MouseButtonOf(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return 1;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return 2;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return 4;
    default: return 0;
  }
}

// The buttons held, from a mouse message's key flags.
inline int16_t HeldButtons(WPARAM wp) {
  return static_cast<int16_t>(((wp & MK_LBUTTON) ? 1 : 0) | ((wp & MK_RBUTTON) ? 2 : 0) | ((wp & MK_MBUTTON) ? 4 : 0));
}

// Shift and Ctrl from a mouse message's key flags; Alt is not among them and comes from the keyboard.
inline int16_t MouseShift(WPARAM wp) {
  return static_cast<int16_t>(((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0) |
                              (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

// The shift state of the keyboard now, for key messages.
inline int16_t KeyboardShift() {
  return static_cast<int16_t>((GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                              (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

}  // namespace tessel
