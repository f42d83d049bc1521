#include "button/ButtonTools.h"

namespace tessel {

int32_t ResolveColor(OleColor color) {
  const auto value = static_cast<int32_t>(color);
  if (value >= 0) return value;
  return static_cast<int32_t>(GetSysColor(static_cast<int>(color & 0xFF)));
}

namespace {

void Replace(HDC dc, unique_hbrush& owned, unique_hbrush made) {
  if (!made) return;
  SelectObject(dc, made.get());
  owned = std::move(made);  // the brush that came out is deleted here
}

void Replace(HDC dc, unique_hpen& owned, unique_hpen made) {
  if (!made) return;
  SelectObject(dc, made.get());
  owned = std::move(made);
}

}  // namespace

void SelectTool(ButtonState& state, bool select, HDC dc, int32_t kind, int32_t colour, bool alsoPen, int32_t width,
                int32_t style) {
  HDC mem = state.memDC.get();
  if (!select) {
    if (!mem) return;
    if (state.bufferPrevBrush) SelectObject(mem, state.bufferPrevBrush);
    state.selectedBrush.reset();
    if (state.bufferPrevPen) SelectObject(mem, state.bufferPrevPen);
    state.selectedPen.reset();
    return;
  }
  const auto rgb = static_cast<COLORREF>(colour);
  switch (kind) {
    case toolBrush:
      if (!mem) return;
      Replace(mem, state.selectedBrush, unique_hbrush(CreateSolidBrush(rgb)));
      if (alsoPen) Replace(mem, state.selectedPen, unique_hpen(CreatePen(style, width, rgb)));
      break;
    case toolPen:
      if (!mem) return;
      Replace(mem, state.selectedPen, unique_hpen(CreatePen(style, width, rgb)));
      break;
    case toolTextColor:
      SetTextColor(dc, static_cast<COLORREF>(ResolveColor(static_cast<OleColor>(colour))));
      break;
    default:
      break;
  }
}

void DrawBox(ButtonState& state, HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t fill,
             int32_t& penColor, int32_t width, int32_t style) {
  if (penColor != -1) SelectTool(state, true, dc, toolPen, penColor, false, width, style);
  SelectTool(state, true, dc, toolBrush, fill, penColor == -1, width, style);
  Rectangle(dc, x1, y1, x2, y2);
}

void FitPictureSize(const ButtonState& state, int32_t boxWidth, int32_t boxHeight, int32_t& width, int32_t& height) {
  if (state.pictureWidth <= 0 || state.pictureHeight <= 0) {
    width = height = 0;
    return;
  }
  const double sx = static_cast<double>(boxWidth) / state.pictureWidth;
  const double sy = static_cast<double>(boxHeight) / state.pictureHeight;
  const double s = sy < sx ? sy : sx;
  width = RoundEven(state.pictureWidth * s);
  height = RoundEven(state.pictureHeight * s);
}

}  // namespace tessel
