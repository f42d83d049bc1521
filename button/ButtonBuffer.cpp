#include "button/ButtonBuffer.h"

#include <algorithm>
#include <cmath>

#include "button/ButtonTools.h"
#include "server/contract/Twips.h"

namespace tessel {
void UpdateCaptionFont(ButtonState& state, const FontRef& font) {
  HDC mem = state.memDC.get();
  if (!mem || !font) return;
  const FontDesc desc = font->Describe();
  LOGFONTW lf{};
  // Points to pixels by the resolution itself (size x 20 twips at 1440 / dpi twips a pixel): the
  // whole twips per pixel would be 7 at 192 dpi, not 7.5.
  lf.lfHeight = -static_cast<LONG>(std::lround(desc.size * ScreenDpiY() / 72.0));
  lf.lfWeight = desc.weight;
  lf.lfItalic = desc.italic ? 1 : 0;
  lf.lfUnderline = desc.underline ? 1 : 0;
  lf.lfStrikeOut = desc.strikethrough ? 1 : 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, desc.name.c_str(), LF_FACESIZE);
  unique_hfont made(CreateFontIndirectW(&lf));
  if (!made) return;
  HGDIOBJ replaced = SelectObject(mem, made.get());
  if (!state.bufferPrevFont) state.bufferPrevFont = replaced;
  state.captionFont = std::move(made);  // the previous caption font is deleted here
}

void CreateBackBuffer(ButtonPaint& paint, const FontRef& font) {
  ButtonState& s = paint.state;
  // The window's DC, or the screen's while the button paints off screen.
  WindowDC dc(paint.window);
  if (!s.memDC) {
    s.memDC.reset(CreateCompatibleDC(dc.get()));
    if (!s.memDC) return;
    // Text is drawn over the face without filling its background.
    SetBkMode(s.memDC.get(), TRANSPARENT);
    unique_hbrush brush(CreateSolidBrush(0));
    s.bufferPrevBrush = SelectObject(s.memDC.get(), brush.get());
    s.selectedBrush = std::move(brush);
    unique_hpen pen(CreatePen(PS_SOLID, 1, 0));
    s.bufferPrevPen = SelectObject(s.memDC.get(), pen.get());
    s.selectedPen = std::move(pen);
  }
  UpdateCaptionFont(s, font);
  if (!s.bufferPrevBitmap) {
    unique_hbitmap bitmap(CreateCompatibleBitmap(dc.get(), std::max(paint.W(), 1), std::max(paint.H(), 1)));
    if (!bitmap) return;
    s.bufferPrevBitmap = SelectObject(s.memDC.get(), bitmap.get());
    s.bufferBitmap = std::move(bitmap);
  }
}

void DropBufferBitmap(ButtonState& state) {
  if (!state.bufferPrevBitmap || !state.memDC) return;
  SelectObject(state.memDC.get(), state.bufferPrevBitmap);
  state.bufferBitmap.reset();
  state.bufferPrevBitmap = nullptr;
}

void CopyBackBuffer(const ButtonPaint& paint) {
  if (!paint.state.memDC) return;
  if (paint.target) {
    BitBlt(paint.target, 0, 0, paint.W(), paint.H(), paint.state.memDC.get(), 0, 0, SRCCOPY);
    return;
  }
  if (!paint.window) return;
  WindowDC dc(paint.window);
  if (dc) BitBlt(dc.get(), 0, 0, paint.W(), paint.H(), paint.state.memDC.get(), 0, 0, SRCCOPY);
}

void ReleaseBackBuffer(ButtonState& s) {
  if (!s.memDC) return;
  HDC mem = s.memDC.get();
  SelectTool(s, false, mem, toolBrush, 0);
  if (s.bufferPrevFont) SelectObject(mem, s.bufferPrevFont);
  s.captionFont.reset();
  s.bufferPrevFont = nullptr;
  DropBufferBitmap(s);
  SelectClipRgn(mem, nullptr);
  s.memDC.reset();
  s.bufferPrevPen = s.bufferPrevBrush = nullptr;
}

}  // namespace tessel
