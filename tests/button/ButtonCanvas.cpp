#include "tests/button/ButtonCanvas.h"

#include <algorithm>

#include "button/DerivedColors.h"
#include "button/draw/Renderers.h"

namespace tessel::test {

ButtonCanvas::ButtonCanvas(int width, int height, COLORREF fill, const wchar_t* face) {
  width_ = width;
  height_ = height;
  void* bits = nullptr;
  state.memDC.reset(CreateCompatibleDC(nullptr));
  state.bufferBitmap = CreateDib32(nullptr, width, height, &bits);
  rows_ = static_cast<uint32_t*>(bits);
  std::fill_n(static_cast<uint32_t*>(bits), width * height, GetRValue(fill) << 16 | GetGValue(fill) << 8 | GetBValue(fill));
  state.bufferPrevBitmap = SelectObject(dc(), state.bufferBitmap.get());
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

ButtonCanvas::~ButtonCanvas() {
  SelectClipRgn(dc(), nullptr);
  SelectObject(dc(), state.bufferPrevFont);
  SelectObject(dc(), state.bufferPrevBitmap);
}

RECT ButtonCanvas::Bounds(COLORREF color) const {
  RECT r{};
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (const RECT p{x, y, x + 1, y + 1}; At(x, y) == color) UnionRect(&r, &r, &p);
  return r;
}

int16_t ButtonCanvas::Render(int32_t* faceState) {
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

}  // namespace tessel::test
