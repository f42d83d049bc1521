#include "button/RendererTable.h"

#include "button/ButtonPicture.h"
#include "button/ButtonTools.h"
#include "button/CaptionLayout.h"
#include "button/CustomClick.h"
#include "button/draw/Gradient.h"

namespace tessel {
namespace {

// The plain face every style shows until the style renderers are wired: the face colour, the
// picture and the caption in the text colour.
void PlainFace(ButtonPaint& p, BevelPoints&, BevelColors& colors, int32_t& faceState, int16_t& outcome) {
  ButtonState& s = p.state;
  HDC mem = p.memDC();
  if (!mem) return;
  bool moved = false;
  ApplyCustomClick(p, moved);
  if (moved) return;  // the move brings a paint of its own
  int32_t pen = -1;
  const int32_t face = s.value && s.mode != modeCommand ? s.faceEdgeColor : s.faceColor;
  DrawBox(s, mem, 0, 0, p.W(), p.H(), face, pen);
  DrawPicture(p, s.pictureRect);
  if (!s.caption.empty()) {
    SelectTool(s, true, mem, toolTextColor, static_cast<int32_t>(p.foreColor));
    const std::wstring text = CaptionText(s.caption);
    RECT r = s.captionRect;
    const UINT align = s.captionAlign == capAlignLeft ? DT_LEFT : s.captionAlign == capAlignRight ? DT_RIGHT : DT_CENTER;
    DrawTextW(mem, text.c_str(), static_cast<int>(text.size()), &r, align | DT_WORDBREAK);
  }
  faceState = s.PressedLook() ? 2 : s.Has(isDefault) ? 1 : 0;
  colors[12] = 0;
  outcome = 1;
}

}  // namespace

Renderer RendererFor(int32_t style) {
  if (style < 0 || style >= kButtonStyleCount) return nullptr;
  return &PlainFace;
}

void PaintShapeFaceGradient(ButtonPaint& p) {
  // The gradient mode is top to bottom for this face only; the button's own mode is untouched.
  if (HDC mem = p.memDC()) DrawGradient(mem, gradTopBottom, p.W(), p.H(), 0xFFFFFF, 0x808080);
}

}  // namespace tessel
