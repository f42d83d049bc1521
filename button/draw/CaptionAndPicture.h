#pragma once
// Puts the picture and the caption onto the painted face: both moved by the pressed offset, the
// text in the colour of the state, with its raised or sunken copies, or the disabled look (white
// one pixel down-right under grey).
#include <cstdint>
#include <string>

#include "button/ButtonState.h"

namespace tessel {

// `faceFill` is the colour the face was filled with (the caption effects are shifts of it);
// `textColorOverride` a colour the style chose, or -1; `isLatched` True draws the button down as
// a latched one; `isToggle` is True for check and option buttons and comes back False when the
// disabled caption was drawn with its white copy.
void DrawCaptionAndPicture(ButtonPaint& paint, int32_t& faceFill, int32_t& textColorOverride, bool& isLatched,
                           bool& isToggle);

// The caption as it is drawn: every "||" a line break (a break is as long as its "||"), in the
// system's ANSI code page; its first `length` characters, those the layout measured.
std::string AnsiCaptionText(const std::wstring& caption, size_t length = std::wstring::npos);

// The caption for the text functions, its first `length` characters as AnsiCaptionText: ANSI
// text, drawn as ever, while the code page holds every character; otherwise the wide text (ansi
// empty), so no character turns into "?".
struct DrawnCaption {
  std::string ansi;
  std::wstring wide;
  bool IsWide() const { return !wide.empty(); }
};
DrawnCaption CaptionForDrawing(const std::wstring& caption, size_t length = std::wstring::npos);

}  // namespace tessel
