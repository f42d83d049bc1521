#include "button/HighContrastLook.h"

#include "button/DerivedColors.h"
#include "button/draw/Renderers.h"
#include "button/draw/RendererSteps.h"
#include "server/contract/Palette.h"

namespace tessel {
namespace {

constexpr OleColor kSysHighlight = 0x8000000D;
constexpr OleColor kSysHighlightText = 0x8000000E;

}  // namespace

HighContrastLook::HighContrastLook(ButtonPaint& paint) : paint_(paint), active_(HighContrast()) {
  if (!active_) return;
  ButtonState& s = paint_.state;
  own_ = Own{s.buttonStyle, s.captionStyle, s.gradientMode, s.backColor, s.gradientColor, s.hoverForeColor,
             s.hoverBackColor, paint_.foreColor};
  const bool down = IsLatched(s) || s.PressedLook();
  s.buttonStyle = bsClassic;  // whose face is the back colour itself
  s.captionStyle = capStyleFlat;
  s.gradientMode = gradNone;
  s.backColor = s.hoverBackColor = s.gradientColor = down ? kSysHighlight : kSysButtonFace;
  paint_.foreColor = s.hoverForeColor = down ? kSysHighlightText : kSysButtonText;
  UpdateDerivedColors(s);
}

HighContrastLook::~HighContrastLook() {
  if (!active_) return;
  ButtonState& s = paint_.state;
  s.buttonStyle = own_.buttonStyle;
  s.captionStyle = own_.captionStyle;
  s.gradientMode = own_.gradientMode;
  s.backColor = own_.backColor;
  s.gradientColor = own_.gradientColor;
  s.hoverForeColor = own_.hoverForeColor;
  s.hoverBackColor = own_.hoverBackColor;
  paint_.foreColor = own_.foreColor;
  UpdateDerivedColors(s);
}

Renderer HighContrastLook::Choose() const {
  return active_ ? &RenderHighContrast : RendererFor(paint_.state.buttonStyle);
}

}  // namespace tessel
