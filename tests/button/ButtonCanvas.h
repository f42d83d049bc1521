#pragma once
// A button state drawing into a 32-bpp DIB section with a pinned non-antialiased 11-pixel font
// (Tahoma unless named), so a test runs the painting steps and reads exact pixels back.
#include <windows.h>

#include <cstdint>
#include <ostream>

#include "button/ButtonState.h"
#include "tests/support/Pixels.h"

// Rectangles compare and print in expectations.
inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
inline std::ostream& operator<<(std::ostream& o, const RECT& r) {
  return o << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace tessel::test {

constexpr COLORREF kUnpainted = RGB(255, 0, 255);  // what the buffer holds before a paint

class ButtonCanvas : public PixelRows {
 public:
  ButtonCanvas(int width, int height, COLORREF fill = kUnpainted, const wchar_t* face = nullptr);
  ~ButtonCanvas();
  ButtonCanvas(const ButtonCanvas&) = delete;
  ButtonCanvas& operator=(const ButtonCanvas&) = delete;

  HDC dc() const { return state.memDC.get(); }
  // The smallest rectangle holding every pixel of this colour (empty when there is none).
  RECT Bounds(COLORREF color) const;
  int Count(COLORREF color) const { return PixelRows::Count({0, 0, width_, height_}, color); }
  // Runs the current style's renderer on freshly derived colours; the clip outcome it returned.
  int16_t Render(int32_t* faceState = nullptr);

  ButtonState state;
  ButtonPaint paint{state};
};

}  // namespace tessel::test
