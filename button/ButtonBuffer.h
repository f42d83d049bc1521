#pragma once
// The button's back buffer: one memory DC per button, made on the first resize, with the button's
// own brush, pen, caption font and bitmap selected into it. Only the bitmap is made again, and
// only when the size changes; everything goes back and is deleted at termination.
#include "button/ButtonState.h"
#include "server/contract/Font.h"

namespace tessel {

// Makes what is missing: the DC (transparent text, a black brush and a black one-pixel pen), the
// caption font from font, and a bitmap of round(W) x round(H) compatible with the window's DC (of
// a button larger than the screen, what the screen can show of it).
void CreateBackBuffer(ButtonPaint& paint, const FontRef& font);
// True when the bitmap was made again because the button moved where its bitmap shows too little.
bool RemakeOutgrownBuffer(ButtonPaint& paint, const FontRef& font);
// Puts the buffer's first bitmap back and deletes the button's, so the next CreateBackBuffer
// makes one of the new size; the DC, pen, brush and font stay.
void DropBufferBitmap(ButtonState& state);
// Copies round(W) x round(H) pixels of the buffer to the control's window at (0, 0).
void CopyBackBuffer(const ButtonPaint& paint);
// Builds the caption font from font (height from its points at the screen's twips per pixel)
// and selects it into the buffer; the replaced caption font is deleted.
void UpdateCaptionFont(ButtonState& state, const FontRef& font);
// Everything the buffer holds goes back into it and the button's objects are deleted with it.
void ReleaseBackBuffer(ButtonState& state);

}  // namespace tessel
