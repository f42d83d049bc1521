// The property writes of ButtonStyle: each checks its range, stores, sets its side effects going
// in a fixed order and tells the container under its bag key. Misuse at design time is answered
// with an information box; at run time the same write is refused or accepted silently.
#include "button/ButtonStyle.h"
#include "server/contract/Errors.h"

namespace tessel {
namespace {

bool InRange(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }
bool LocksBack(int32_t locks) { return locks == lockNone || locks == lockForeColor; }
bool LocksFore(int32_t locks) { return locks == lockNone || locks == lockBackColor; }

}  // namespace

void ButtonStyle::SetButtonStyle(int32_t style) {
  if (!InRange(style, 0, kButtonStyleCount - 1)) return;
  const int32_t old = s_.buttonStyle;
  s_.buttonStyle = style;
  if (s_.buttonShape < shapeEllipse || ((old == bsRing || style == bsRing) && s_.buttonShape < shapeCustom))
    RebuildShape();
  LayOut();
  RefreshColors();
  Redraw();
  PropertyChanged(L"BackStyle");
}

void ButtonStyle::SetMode(int32_t mode) {
  if (!InRange(mode, modeCommand, modeOption)) return;
  const int32_t old = s_.mode;
  if (old == modeOption && mode < modeOption) OptionGroup(-1);
  if (mode == modeOption && old < modeOption) OptionGroup(1);
  if (mode == modeCommand && old >= modeCheck) SetValue(false);
  s_.mode = mode;
  Redraw();
  PropertyChanged(L"Mode");
}

void ButtonStyle::SetCaption(const std::wstring& caption) {
  // The access key is the character after the last ampersand (none when it ends the caption).
  const size_t amp = caption.rfind(L'&');
  if (amp != std::wstring::npos) accessKey_ = caption.substr(amp + 1, 1);
  s_.caption = caption;
  LayOut();
  Redraw();
  PropertyChanged(L"Caption");
}

void ButtonStyle::SetCaptionAlign(int32_t align) {
  if (!InRange(align, 0, 2)) return;
  if (align == capAlignCenter || s_.pictureAlign < picTopCenter || s_.pictureWidth + s_.pictureHeight < 1) {
    s_.captionAlign = align;
    LayOut();
    Redraw();
    PropertyChanged(L"CapAlign");
    return;
  }
  Inform(L"When button images are aligned top/bottom center, \r\nbutton captions can only be center aligned");
}

void ButtonStyle::SetCaptionStyle(int32_t style) {
  if (!InRange(style, 0, 2)) return;
  s_.captionStyle = style;
  PropertyChanged(L"CapStyle");
  if (s_.caption.empty()) return;
  LayOut();
  Redraw();
}

void ButtonStyle::SetCustomClick(int32_t click) {
  if (!InRange(click, clickNone, clickLeft)) return;
  if (click >= 1 && s_.buttonShape < shapeCustom)
    Inform(L"This property has no effect unless the Button Shape is a custom shape.");
  s_.customClick = click;
  PropertyChanged(L"CustomClick");
}

void ButtonStyle::SetButtonShape(int32_t shape) {
  if (!InRange(shape, shapeRectangle, shapeCustomShaded)) return;
  if (shape > shapeEllipseFramed) {
    if (!s_.picture || !s_.HasPicture() || s_.pictureIsIcon == 1) {
      Inform(L"The Picture Property must be assigned first and must be a bitmap or JPEG.");
      return;
    }
    if (PictureSize() != picFit) {
      SetDelayDrawing(true);
      SetPictureSize(picFit);
      s_.delayDrawing = false;
    }
  }
  s_.buttonShape = shape;
  s_.captionAlign = capAlignCenter;
  HandleResize();
  SetDelayDrawing(false);
  PropertyChanged(L"Shape");
}

void ButtonStyle::SetPicture(const PictureRef& picture) {
  s_.picture = picture;
  if (s_.pictureSize == 0) s_.pictureSize = 16;
  RefreshPicture();
  if (s_.buttonShape < shapeCustom) {
    LayOut(true);
    Redraw();
  } else {
    if (!s_.picture || !s_.HasPicture()) {
      SetButtonShape(shapeRectangle);
    } else if (s_.pictureIsIcon == 1) {
      SetButtonShape(shapeRectangle);
      Inform(L"Icons cannot be used for custom buttons. Only use bitmaps or JPEGs.\r\n"
             L"Button was changed to Rectangular shaped.");
    }
    HandleResize();
  }
  PropertyChanged(L"Image");
}

void ButtonStyle::SetPictureAlign(int32_t align) {
  if (!InRange(align, picLeftEdge, picBottomCenter)) return;
  s_.pictureAlign = align;
  if (align == picTopCenter || align == picBottomCenter) SetCaptionAlign(capAlignCenter);
  LayOut();
  Redraw();
  PropertyChanged(L"ImgAlign");
}

void ButtonStyle::SetEnabled(bool enabled) {
  if (enabled == UserControl::Enabled()) return;
  UserControl::SetEnabled(enabled);
  if (s_.buttonStyle == bsPastel && s_.mode == modeCommand && s_.buttonShape < shapeEllipse) {
    // The pastel corners are cut only while enabled.
    SetDelayDrawing(true);
    RebuildShape();
    LayOut();
    SetDelayDrawing(false);
  } else {
    Redraw();
  }
  PropertyChanged(L"Enabled");
}

void ButtonStyle::SetShowFocusRect(bool show) {
  s_.showFocusRect = show;
  if (s_.Has(isDefault)) {
    if (!DesignTime()) {
      s_.Set(isDefault, false);
      Redraw();
    } else {
      Inform(L"The focus rectangle may appear on default buttons ONLY while in design mode, \r\n"
             L"but will not appear when the form is running.");
    }
  } else {
    Redraw();
  }
  PropertyChanged(L"Focus");
}

void ButtonStyle::SetValue(bool value) {
  if (value && s_.mode == modeCommand) {
    Inform(L"This property is not applicable for command button modes.");
    return;
  }
  s_.value = value;
  if (value && s_.mode == modeOption) OptionGroup(0);
  Redraw();
  PropertyChanged(L"Value");
}

int32_t ButtonStyle::PictureSize() {
  if (s_.pictureSize == 0) s_.pictureSize = 16;
  return s_.pictureSize / 8 - 2;
}

void ButtonStyle::SetPictureSize(int32_t size) {
  if (!InRange(size, picSize16, picFit)) return;
  if (s_.buttonShape > shapeEllipseFramed) {
    Inform(L"The picture size cannot be changed for Shaped buttons");
    return;
  }
  s_.pictureSize = static_cast<int16_t>((size + 2) * 8);
  LayOut(true);
  Redraw();
  PropertyChanged(L"ImgSize");
}

int32_t ButtonStyle::MousePointer() const { return UserControl::MousePointer(); }

void ButtonStyle::SetMousePointer(int32_t pointer) {
  UserControl::SetMousePointer(pointer);
  PropertyChanged(L"mPointer");
}

PictureRef ButtonStyle::MouseIcon() const { return UserControl::MouseIcon(); }

void ButtonStyle::SetMouseIcon(const PictureRef& icon) {
  try {
    UserControl::SetMouseIcon(icon);
  } catch (const InvalidPropertyValue& e) {
    std::wstring title;
    for (const char* c = e.what(); *c; ++c) title.push_back(static_cast<unsigned char>(*c));
    Inform(L"Select .ico Or .cur Files Only", title);
    return;
  }
  if (!icon) return;
  SetMousePointer(99);
  PropertyChanged(L"mIcon");
}

FontRef ButtonStyle::Font() const { return font_; }

void ButtonStyle::SetFont(const FontRef& font) {
  if (!font) return;
  font_ = font;
  RefreshCaptionFont();
  LayOut();
  Redraw();
  PropertyChanged(L"Font");
}

int32_t ButtonStyle::FontStyle() const {
  if (!font_) return 0;
  const FontDesc d = font_->Describe();
  return (d.bold() ? 2 : 0) + (d.italic ? 4 : 0) + (d.underline ? 8 : 0);
}

void ButtonStyle::SetFontStyle(int32_t style) {
  if (!font_) return;
  font_->SetBold((style & 2) != 0);
  font_->SetItalic((style & 4) != 0);
  font_->SetUnderline((style & 8) != 0);
  RefreshCaptionFont();
  LayOut();
  PropertyChanged(L"Font");
  Redraw();
}

OleColor ButtonStyle::ForeColor() const { return foreColor_; }

void ButtonStyle::SetForeColor(OleColor color) {
  if (color == foreColor_) return;
  foreColor_ = color;
  if (LocksFore(s_.hoverColorLocks)) SetHoverForeColor(color);
  s_.delayDrawing = false;
  Redraw();
  PropertyChanged(L"cFore");
}

void ButtonStyle::SetBackColor(OleColor color) {
  s_.backColor = color;
  if (LocksBack(s_.hoverColorLocks)) SetHoverBackColor(s_.gradientMode != gradNone ? s_.gradientColor : color);
  RefreshColors();
  Redraw();
  PropertyChanged(L"cBack");
}

void ButtonStyle::SetGradientColor(OleColor color) {
  if (LocksBack(s_.hoverColorLocks) && s_.gradientMode > gradNone) s_.hoverBackColor = color;
  s_.gradientColor = color;
  RefreshColors();
  if (s_.gradientMode != gradNone) Redraw();
  PropertyChanged(L"cGradient");
}

void ButtonStyle::SetGradientMode(int32_t mode) {
  if (!InRange(mode, gradNone, gradBottomTop)) return;
  s_.gradientMode = mode;
  if (LocksBack(s_.hoverColorLocks)) {
    s_.hoverBackColor = mode == gradNone ? s_.backColor : s_.gradientColor;
    RefreshColors();
  }
  Redraw();
  PropertyChanged(L"Gradient");
}

void ButtonStyle::SetResetDefaultColors(bool reset) {
  if (!reset || !DesignTime()) return;
  SetDelayDrawing(true);
  SetBackColor(kSysButtonFace);
  SetForeColor(kSysButtonText);
  SetGradientColor(kSysButtonFace);
  SetGradientMode(gradNone);
  SetHoverColorLocks(lockNone);
  RefreshColors();
  SetDelayDrawing(false);
  PropertyChanged(L"cGradient");
  PropertyChanged(L"cBack");
}

void ButtonStyle::SetHoverColorLocks(int32_t locks) {
  s_.hoverColorLocks = locks;
  if (locks == lockNone || locks == lockForeColor) {
    s_.hoverBackColor = s_.gradientMode != gradNone ? s_.gradientColor : s_.backColor;
    PropertyChanged(L"cBHover");
  }
  if (locks == lockNone || locks == lockBackColor) {
    s_.hoverForeColor = ForeColor();
    PropertyChanged(L"cFHover");
  }
  RefreshColors();
  PropertyChanged(L"LockHover");
}

void ButtonStyle::SetHoverForeColor(OleColor color) {
  if (color == s_.hoverForeColor) return;
  s_.hoverForeColor = color;
  PropertyChanged(L"cFHover");
  if (color != ForeColor()) {
    if (s_.hoverColorLocks == lockNone) s_.hoverColorLocks = lockForeColor;
    else if (s_.hoverColorLocks == lockBackColor) s_.hoverColorLocks = lockBoth;
    PropertyChanged(L"cFHover");
  }
}

void ButtonStyle::SetHoverBackColor(OleColor color) {
  if (color == s_.hoverBackColor) return;
  s_.hoverBackColor = color;
  if (color != s_.backColor) {
    if (s_.hoverColorLocks == lockNone) s_.hoverColorLocks = lockBackColor;
    else if (s_.hoverColorLocks == lockForeColor) s_.hoverColorLocks = lockBoth;
  }
  RefreshColors();
  PropertyChanged(L"cBHover");
}

void ButtonStyle::SetDelayDrawing(bool delay) {
  s_.delayDrawing = delay;
  if (!delay) Refresh();
}

void ButtonStyle::Refresh() {
  s_.delayDrawing = false;
  Redraw();
}

}  // namespace tessel
