#include "button/ButtonBuffer.h"

#include <algorithm>
#include <cmath>

#include "button/ButtonTools.h"
#include "server/contract/ImageLimits.h"
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
  // A memory DC and a 32-bpp bitmap of the button's size: one like the screen's would cost the
  // system the window's DC and three display look-ups to make and to select, at every resize.
  if (!s.memDC) {
    s.memDC.reset(CreateCompatibleDC(nullptr));
    if (!s.memDC) return;
    // Text is drawn over the face without filling its background.
    SetBkMode(s.memDC.get(), TRANSPARENT);
    // A black brush and pen stand in the buffer as it was made with them: the focus rectangle's
    // dots are drawn over them. Stock objects: nothing to delete or put back.
    SelectObject(s.memDC.get(), GetStockObject(BLACK_BRUSH));
    SelectObject(s.memDC.get(), GetStockObject(BLACK_PEN));
  }
  UpdateCaptionFont(s, font);
  if (!s.bufferPrevBitmap) {
    void* bits = nullptr;
    const SIZE size = ShownImageSize(paint.window, paint.W(), paint.H());
    unique_hbitmap bitmap = CreateDib32(nullptr, size.cx, size.cy, &bits);
    if (!bitmap) return;
    s.bufferPrevBitmap = SelectObject(s.memDC.get(), bitmap.get());
    s.bufferBitmap = std::move(bitmap);
    s.bufferSize = size;
  }
}

bool RemakeOutgrownBuffer(ButtonPaint& paint, const FontRef& font) {
  ButtonState& s = paint.state;
  if (!s.bufferPrevBitmap || !ImageOutgrown(paint.window, s.bufferSize, paint.W(), paint.H())) return false;
  DropBufferBitmap(s);
  CreateBackBuffer(paint, font);
  return true;
}

void DropBufferBitmap(ButtonState& state) {
  if (!state.bufferPrevBitmap || !state.memDC) return;
  SelectObject(state.memDC.get(), state.bufferPrevBitmap);
  state.bufferBitmap.reset();
  state.bufferPrevBitmap = nullptr;
  state.bufferSize = SIZE{0, 0};
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
  if (s.bufferPrevFont) SelectObject(mem, s.bufferPrevFont);
  s.captionFont.reset();
  s.bufferPrevFont = nullptr;
  DropBufferBitmap(s);
  SelectClipRgn(mem, nullptr);
  s.memDC.reset();
}

}  // namespace tessel
