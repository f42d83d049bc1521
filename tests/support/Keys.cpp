#include "tests/support/Keys.h"

#include <algorithm>

#include "tests/support/MessagePump.h"

namespace tessel::test {
namespace {

LPARAM Down(UINT vk) { return 1 | (static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16); }
LPARAM Up(UINT vk) { return Down(vk) | (3u << 30); }

}  // namespace

void SendStroke(HWND window, wchar_t ch, UINT vk) {
  if (!vk) vk = LOBYTE(VkKeyScanW(ch));
  SendMessageW(window, WM_KEYDOWN, vk, Down(vk));
  if (ch) SendMessageW(window, WM_CHAR, ch, Down(vk));
  SendMessageW(window, WM_KEYUP, vk, Up(vk));
}

void SendText(HWND window, const wchar_t* text) {
  for (; *text; ++text) SendStroke(window, *text, *text == L'\b' ? VK_BACK : *text == L'\r' ? VK_RETURN : 0);
}

void PressKey(UINT vk, bool shift) {
  BYTE state[256], held[256];
  GetKeyboardState(state);
  std::copy(state, state + 256, held);
  if (shift) held[VK_SHIFT] = 0x80;
  SetKeyboardState(held);
  PostMessageW(GetFocus(), WM_KEYDOWN, vk, Down(vk));
  Pump(0);
  PostMessageW(GetFocus(), WM_KEYUP, vk, Up(vk));
  Pump(0);
  SetKeyboardState(state);
}

}  // namespace tessel::test
