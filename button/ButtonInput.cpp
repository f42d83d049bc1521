// Mouse, keyboard, focus and click handling of ButtonStyle: the press state machine (left button
// and space bar alike), check and option toggling, and arrow keys handed to the container.
#include "button/ButtonStyle.h"

namespace tessel {
namespace {

// A key-down message for the container: repeat count 1 and the key's scan code in bits 16 to 23.
LPARAM ArrowKeyData(int16_t key) {
  switch (key) {
    case VK_RIGHT: return 0x004D0001;
    case VK_DOWN: return 0x00500001;
    case VK_LEFT: return 0x004B0001;
    case VK_UP: return 0x00480001;
    default: return 0;
  }
}

bool IsArrow(int16_t key) { return key >= VK_LEFT && key <= VK_DOWN; }

}  // namespace

void ButtonStyle::HandleMouseDown(int16_t button, int16_t shift, float x, float y) {
  s_.lastButton = button;
  if (button == 1) {
    s_.Set(isPressed, true);
    s_.isPressedTracking = true;
    s_.delayDrawing = false;
    Redraw();
    if (hWnd() && GetCapture() != hWnd()) SetCapture(hWnd());
  }
  Raise(events.MouseDown, button, shift, x, y);
}

void ButtonStyle::MouseDown(int16_t button, int16_t shift, float x, float y) {
  HandleMouseDown(button, shift, PixelX(x), PixelY(y));
}

void ButtonStyle::MouseUp(int16_t button, int16_t shift, float x, float y) {
  s_.isPressedTracking = false;
  if (button == 1) {
    if (hWnd() && GetCapture() == hWnd()) ReleaseCapture();
    s_.Set(isPressed, false);
    s_.delayDrawing = false;
    // Check and option buttons are redrawn by the Value change of the click that follows.
    if (s_.mode == modeCommand) Redraw();
  }
  float px = PixelX(x), py = PixelY(y);
  Raise(events.MouseUp, button, shift, px, py);
  s_.lastButton = button;
}

void ButtonStyle::HandleClick() {
  if (s_.mode == modeCommand) {
    Raise(events.Click);
    return;
  }
  // An option button is unselected only by another member of its group.
  if (s_.mode == modeOption && s_.value) return;
  SetValue(!s_.value);
  Raise(events.Click);
}

void ButtonStyle::Click() {
  if (s_.lastButton == 1) HandleClick();
}

void ButtonStyle::DblClick() {
  POINT pt = Host().CursorPos();
  if (hWnd()) ScreenToClient(hWnd(), &pt);
  const auto x = static_cast<float>(pt.x), y = static_cast<float>(pt.y);
  int16_t button = s_.lastButton;
  Raise(events.DoubleClick, button);
  if (s_.lastButton == 1) {
    // The second press shows pressed and raises MouseDown; its release makes no Click.
    HandleMouseDown(1, 0, x, y);
    s_.lastButton = -1;
  } else {
    int16_t left = 1, shift = 0;
    float fx = x, fy = y;
    Raise(events.MouseDown, left, shift, fx, fy);
  }
}

void ButtonStyle::KeyDown(int16_t& keyCode, int16_t& shift) {
  if (IsArrow(keyCode)) {
    // Arrow keys belong to the container (moving between buttons), never to the button.
    if (s_.containerWindow)
      PostMessageW(s_.containerWindow, WM_KEYDOWN, static_cast<WPARAM>(keyCode), ArrowKeyData(keyCode));
    keyCode = 0;
  } else if (keyCode == VK_SPACE && !s_.Has(isPressed)) {
    s_.Set(isHot, true);
    s_.Set(isPressed, true);
    s_.isPressedTracking = true;
    Redraw();
    if (!s_.isHoverTracking) s_.Set(isHot, false);
  }
  if (keyCode != 0) Raise(events.KeyDown, keyCode, shift);
}

void ButtonStyle::KeyPress(int16_t& keyAscii) { Raise(events.KeyPress, keyAscii); }

void ButtonStyle::KeyUp(int16_t& keyCode, int16_t& shift) {
  s_.isPressedTracking = false;
  if (keyCode == VK_SPACE && s_.Has(isPressed)) {
    s_.lastButton = 1;
    s_.Set(isPressed, false);
    if (s_.mode == modeCommand) {
      Redraw();
    } else {
      Raise(events.KeyUp, keyCode, shift);
      keyCode = 0;
    }
    Click();
  } else if (IsArrow(keyCode)) {
    keyCode = 0;
    if (s_.mode == modeOption && !s_.value) {
      s_.lastButton = 1;
      Click();
    }
  } else if (keyCode == VK_SHIFT) {
    keyCode = 0;
  }
  if (keyCode != 0) Raise(events.KeyUp, keyCode, shift);
}

void ButtonStyle::AccessKeyPress(wchar_t key) {
  if ((key == L'\r' || key == 27) && s_.mode != modeCommand) return;
  if (!s_.Has(isDefault)) Redraw();
  s_.lastButton = 1;
  Click();
}

void ButtonStyle::ShowFocusCue(bool focused) {
  // A check or option button has no default look to show the focus with: while the window shows
  // keyboard cues (the focus came from the keyboard, as in a dialog), it draws the indicator.
  const bool cue = focused && s_.mode != modeCommand && ShowsFocusCues();
  if (cue != s_.keyboardFocus) {
    s_.keyboardFocus = cue;
    Redraw();
  }
}

// A key pressed while the button already had the focus shows its indicator at once; cues hidden
// again take it away.
void ButtonStyle::KeyboardCuesChanged() { ShowFocusCue(hWnd() && GetFocus() == hWnd()); }

void ButtonStyle::GotFocus() {
  ShowFocusCue(true);
  // Tabbing into a group where nothing is selected selects the button that got the focus.
  if (s_.mode != modeOption || s_.value) return;
  if (!OptionGroup(2)) {
    s_.lastButton = 1;
    Click();
  }
}

void ButtonStyle::LostFocus() { ShowFocusCue(false); }

}  // namespace tessel
