#include "button/draw/CaptionAndPicture.h"

#include "button/ButtonPicture.h"
#include "button/ButtonTools.h"
#include "button/CaptionLayout.h"
#include "button/draw/ShiftColor.h"
#include "server/contract/Ansi.h"
#include "server/contract/WrappedText.h"

namespace tessel {
namespace {

UINT FormatFlags(int32_t captionAlign) {
  const UINT align = captionAlign == capAlignLeft ? DT_LEFT : captionAlign == capAlignRight ? DT_RIGHT : DT_CENTER;
  return align | DT_WORDBREAK;  // prefixes stay on: "&x" underlines x, "&&" shows one "&"
}

void DrawCaption(HDC dc, const DrawnCaption& text, RECT r, int32_t rgb, UINT flags) {
  SetTextColor(dc, static_cast<COLORREF>(rgb));
  if (text.IsWide())
    DrawTextW(dc, text.wide.c_str(), static_cast<int>(text.wide.size()), &r, flags);
  else
    DrawTextA(dc, text.ansi.c_str(), static_cast<int>(text.ansi.size()), &r, flags);
}

// The caption's text as drawn, as far as the layout measured it.
std::wstring ShownCaptionText(const std::wstring& caption, size_t length) {
  if (length >= caption.size()) return CaptionText(caption);
  std::wstring text = CaptionText(caption.substr(0, length + 1));
  text.resize(WrappedStart(text, length));
  return text;
}

}  // namespace

std::string AnsiCaptionText(const std::wstring& caption, size_t length) {
  return AnsiFromWide(ShownCaptionText(caption, length));
}

DrawnCaption CaptionForDrawing(const std::wstring& caption, size_t length) {
  std::wstring text = ShownCaptionText(caption, length);
  if (AnsiHolds(text)) return DrawnCaption{AnsiFromWide(text), {}};
  return DrawnCaption{{}, std::move(text)};
}

void DrawCaptionAndPicture(ButtonPaint& paint, int32_t& faceFill, int32_t& textColorOverride, bool& isLatched,
                           bool& isToggle) {
  const ButtonState& s = paint.state;
  HDC dc = paint.memDC();
  RECT caption = s.captionRect;
  RECT picture = s.pictureRect;
  const bool pressedLook = s.PressedLook();
  if ((isLatched || pressedLook) && s.buttonStyle != bsPastel) {
    const int dx = s.buttonShape < shapeEllipse ? 1 : 0;
    OffsetRect(&caption, dx, 1);
    OffsetRect(&picture, dx, 1);
  }
  if (!(s.value && s.buttonShape >= shapeCustom)) DrawPicture(paint, picture);

  if (s.caption.empty() || (s.buttonShape > shapeEllipse && !s.value)) return;
  const DrawnCaption text = CaptionForDrawing(s.caption, s.captionLength);
  const UINT flags = FormatFlags(s.captionAlign);

  int32_t color;
  if (paint.enabled) {
    if (s.isHoverTracking && !pressedLook)
      color = ResolveColor(s.hoverForeColor);
    else if (!s.value && s.gradientMode != gradNone)
      color = ResolveColor(paint.foreColor);
    else
      color = s.buttonStyle == bsGlossy ? textColorOverride : ResolveColor(paint.foreColor);
    if (s.captionStyle != capStyleFlat) {
      const int amount = s.captionStyle == capStyleEngraved ? 40 : -40;
      OffsetRect(&caption, -1, 0);
      DrawCaption(dc, text, caption, ShiftColor(faceFill, amount), flags);
      OffsetRect(&caption, 2, 2);
      DrawCaption(dc, text, caption, ShiftColor(faceFill, -amount), flags);
      OffsetRect(&caption, -1, -1);
    }
  } else if (textColorOverride >= 0 && s.gradientMode == gradNone) {
    color = textColorOverride;
  } else {
    color = 0xFFFFFF;
    OffsetRect(&caption, 1, 1);
    isToggle = false;
  }
  DrawCaption(dc, text, caption, color, flags);

  if (!paint.enabled && !isToggle) {
    OffsetRect(&caption, -1, -1);
    DrawCaption(dc, text, caption, 0x808080, flags);
  }
}

}  // namespace tessel
