#include "button/CustomClick.h"

#include <array>

#include "button/ButtonBuffer.h"

namespace tessel {

POINT CustomClickOffset(int32_t customClick) {
  // Indexed by custom-click value: none, up, up-right, up-left, down-right, down-left, right,
  // down, left.
  static constexpr std::array<POINT, 9> kOffsets{{
      {0, 0}, {0, -1}, {1, -1}, {-1, -1}, {1, 1}, {-1, 1}, {1, 0}, {0, 1}, {-1, 0},
  }};
  if (customClick < 0 || customClick >= static_cast<int32_t>(kOffsets.size())) return POINT{0, 0};
  return kOffsets[static_cast<size_t>(customClick)];
}

void ApplyCustomClick(ButtonPaint& paint, bool& moved) {
  moved = false;
  ButtonState& s = paint.state;
  if (s.mode != modeCommand || s.customClick == clickNone || !paint.window) return;
  RECT r{};
  GetWindowRect(paint.window, &r);
  POINT corner{r.left, r.top};
  HWND parent = GetParent(paint.window);
  if (parent) ScreenToClient(parent, &corner);
  const POINT d = CustomClickOffset(s.customClick);
  const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (s.PressedLook() && !s.Has(isMoved)) {
    SetWindowPos(paint.window, nullptr, corner.x + d.x, corner.y + d.y, 0, 0, flags);
    s.Set(isMoved, true);
    CopyBackBuffer(paint);
    UpdateWindow(paint.window);
    moved = true;
  } else if (s.Has(isMoved) && !s.PressedLook()) {
    SetWindowPos(paint.window, nullptr, corner.x - d.x, corner.y - d.y, 0, 0, flags);
    s.Set(isMoved, false);
  }
}

}  // namespace tessel
