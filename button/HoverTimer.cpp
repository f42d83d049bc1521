// Hover tracking: the first mouse move over the button's own window turns it hot and starts a
// 50 ms window timer on that window; the timer stops itself once the cursor is over another window.
#include "button/ButtonStyle.h"

namespace tessel {
namespace {

constexpr const char* kClassIdProp = "lv_ClassID";
constexpr const char* kTimerIdProp = "lv_TimerID";

// The timer finds its button through the window's properties.
VOID CALLBACK HoverTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
  auto* button = reinterpret_cast<ButtonStyle*>(GetPropA(window, kClassIdProp));
  const auto timerId = reinterpret_cast<UINT_PTR>(GetPropA(window, kTimerIdProp));
  if (button) button->CheckHover(timerId);
}

}  // namespace

void ButtonStyle::MouseMove(int16_t button, int16_t shift, float x, float y) {
  if (!s_.isHoverTracking && hWnd() && Host().WindowFromPoint(Host().CursorPos()) == hWnd()) {
    s_.Set(isHot, true);
    bool on = true;
    Raise(events.MouseOnButton, on);
    SetPropA(hWnd(), kClassIdProp, reinterpret_cast<HANDLE>(this));
    SetPropA(hWnd(), kTimerIdProp, reinterpret_cast<HANDLE>(kHoverTimerId));
    SetTimer(hWnd(), kHoverTimerId, kHoverPeriodMs, &HoverTimerProc);
    s_.isHoverTracking = true;
    s_.delayDrawing = false;
    if (button == 1) s_.isPressedTracking = true;
    Redraw();
  }
  float px = PixelX(x), py = PixelY(y);
  Raise(events.MouseMove, button, shift, px, py);
}

void ButtonStyle::CheckHover(UINT_PTR) {
  if (!hWnd() || Host().WindowFromPoint(Host().CursorPos()) == hWnd()) return;
  KillTimer(hWnd(), kHoverTimerId);
  s_.Set(isHot, false);
  s_.isHoverTracking = false;
  s_.delayDrawing = false;
  bool on = false;
  Raise(events.MouseOnButton, on);
  s_.isPressedTracking = false;
  Redraw();
  AccessibleChanged();  // the timer's tick comes to no window procedure: no longer hot-tracked
}

void ButtonStyle::StopHoverTimer() {
  HWND own = hWnd();
  if (!own || !IsWindow(own)) return;
  if (s_.isHoverTracking) KillTimer(own, kHoverTimerId);
  s_.isHoverTracking = false;
  RemovePropA(own, kClassIdProp);
  RemovePropA(own, kTimerIdProp);
}

}  // namespace tessel
