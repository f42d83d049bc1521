#pragma once
// A button state drawing into a canvas with a pinned non-antialiased 11-pixel font (Tahoma unless
// named), so a test runs the painting steps and reads exact pixels back.
#include "tests/support/Prelude.h"
#include <ostream>

#include "button/ButtonState.h"
#include "button/DerivedColors.h"
#include "button/draw/Renderers.h"
#include "tests/support/Pixels.h"

// Rectangles compare and print in expectations.
inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
inline std::ostream& operator<<(std::ostream& o, const RECT& r) {
  return o << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace tessel::test {

constexpr COLORREF kUnpainted = RGB(255, 0, 255);  // what the buffer holds before a paint

class ButtonCanvas : public Canvas {
 public:
  ButtonCanvas(int width, int height, COLORREF fill = kUnpainted, const wchar_t* face = nullptr)
      : Canvas(width, height, fill) {
    state.memDC.reset(dc());  // the canvas's own, taken back before it goes
    state.captionFont.reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                        CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, face ? face : L"Tahoma"));
    state.bufferPrevFont = SelectObject(dc(), state.captionFont.get());
    SetBkMode(dc(), TRANSPARENT);
    paint.width = state.faceRight = width;
    paint.height = height;
    state.backColor = state.hoverBackColor = 0xD8D8D8;
    state.gradientColor = 0xFF8000;
    paint.foreColor = state.hoverForeColor = 0x000000;
    state.ambientBackColor = 0xE0E0E0;
  }
  ~ButtonCanvas() {
    SelectClipRgn(dc(), nullptr);
    SelectObject(dc(), state.bufferPrevFont);
    (void)state.memDC.release();
  }

  // The smallest rectangle holding every pixel of this colour (empty when there is none).
  RECT Bounds(COLORREF color) const {
    RECT r{};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (const RECT p{x, y, x + 1, y + 1}; At(x, y) == color) UnionRect(&r, &r, &p);
    return r;
  }
  int Count(COLORREF color) const { return PixelRows::Count({0, 0, width_, height_}, color); }
  // Runs the current style's renderer on freshly derived colours; the clip outcome it returned.
  int16_t Render(int32_t* faceState = nullptr) {
    UpdateDerivedColors(state);
    BevelPoints points{};
    BevelColors list{};
    int32_t state32 = 0;
    int16_t outcome = 0;
    if (Renderer r = RendererFor(state.buttonStyle)) r(paint, points, list, state32, outcome);
    GdiFlush();
    if (faceState) *faceState = state32;
    return outcome;
  }

  ButtonState state;
  ButtonPaint paint{state};
};

}  // namespace tessel::test
