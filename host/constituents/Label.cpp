#include "host/constituents/Label.h"

#include <commctrl.h>

#include "host/ConstituentSurface.h"
#include "server/contract/MousePointer.h"
#include "server/contract/Palette.h"
#include "server/contract/Twips.h"

namespace tessel {
namespace {

HFONT FontHandle(const FontRef& font) {
  HFONT handle = font ? font->Handle() : nullptr;
  return handle ? handle : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

UINT AlignmentFlags(int alignment) {
  switch (alignment) {
    case 1: return DT_RIGHT;
    case 2: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

Label::Label(Surface& parent, std::wstring name) : Constituent(parent, std::move(name)) {}

Label::~Label() = default;

void Label::SetCaption(const std::wstring& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (autoSize_) FitToText();
  Invalidate();
}

void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  if (autoSize_) FitToText();
}

void Label::SetAlignment(int alignment) {
  if (alignment < 0 || alignment > 2) throw InvalidPropertyValue("Invalid property value");
  alignment_ = alignment;
  Invalidate();
}

void Label::SetForeColor(OleColor color) {
  foreColor_ = color;
  Invalidate();
}

void Label::SetBackColor(OleColor color) {
  backColor_ = color;
  Invalidate();
}

void Label::SetBackStyle(int style) {
  if (style < 0 || style > 1) throw InvalidPropertyValue("Invalid property value");
  backStyle_ = style;
  Invalidate();
}

void Label::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  if (autoSize_) FitToText();
  Invalidate();
}

void Label::SetFont(FontRef font) {
  font_ = std::move(font);
  if (autoSize_) FitToText();
  Invalidate();
}

void Label::Refresh() {
  if (autoSize_) FitToText();
  Constituent::Refresh();
}

SIZE Label::TextExtentTwips() const {
  WindowDC screen(nullptr);
  if (!screen) return SIZE{0, 0};
  SelectGuard font(screen.get(), FontHandle(font_));
  TEXTMETRICW tm{};
  GetTextMetricsW(screen.get(), &tm);
  if (caption_.empty()) return SIZE{0, TwipsFromPixelsY(tm.tmHeight)};
  RECT r{0, 0, 0, 0};
  UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
  if (wordWrap_) {
    // Wrapping labels keep their width and grow downwards.
    r.right = PixelsFromTwipsX(Width());
    flags |= DT_WORDBREAK;
  }
  DrawTextW(screen.get(), caption_.c_str(), static_cast<int>(caption_.size()), &r, flags);
  return SIZE{TwipsFromPixelsX(r.right - r.left), TwipsFromPixelsY(r.bottom - r.top)};
}

void Label::FitToText() {
  const SIZE size = TextExtentTwips();
  Move(Left(), Top(), wordWrap_ ? Width() : size.cx, size.cy);
}

void Label::Draw(HDC dc) {
  const RECT bounds = BoundsPixels();
  if (bounds.right <= bounds.left || bounds.bottom <= bounds.top) return;
  IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
  if (backStyle_ == 1) {
    const int32_t back = PaletteOf(backColor_, ColorRole::Face);
    if (back >= 0) {
      unique_hbrush brush(CreateSolidBrush(static_cast<COLORREF>(back)));
      if (brush) FillRect(dc, &bounds, brush.get());
    }
  }
  if (caption_.empty()) return;
  SelectGuard font(dc, FontHandle(font_));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorOr(PaletteOf(foreColor_, ColorRole::FaceText), GetSysColor(COLOR_BTNTEXT)));
  RECT text = bounds;
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text,
            AlignmentFlags(alignment_) | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
}

void Label::SetToolTipText(const std::wstring& text) {
  toolTip_ = text;
  UpdateToolTip();
}

void Label::UpdateToolTip() {
  HWND surface = Parent().hWnd();
  if (toolTip_.empty() || !surface) {
    toolTipWindow_.reset();
    return;
  }
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = surface;
  info.uId = reinterpret_cast<UINT_PTR>(this);
  info.rect = BoundsPixels();
  info.lpszText = const_cast<LPWSTR>(toolTip_.c_str());
  if (!toolTipWindow_) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    toolTipWindow_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, surface, nullptr,
                                         nullptr, nullptr));
    if (!toolTipWindow_) return;
    SendMessageW(toolTipWindow_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  } else {
    SendMessageW(toolTipWindow_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(toolTipWindow_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
  }
  SendMessageW(toolTipWindow_.get(), TTM_ACTIVATE, Visible() ? TRUE : FALSE, 0);
}

void Label::Relocated() {
  if (toolTipWindow_) UpdateToolTip();
}

void Label::ResolutionChanged() {
  if (autoSize_) FitToText();
}

void Label::VisibilityChanged() {
  if (toolTipWindow_) SendMessageW(toolTipWindow_.get(), TTM_ACTIVATE, Visible() ? TRUE : FALSE, 0);
}

void Label::SetMousePointer(int pointer) {
  CheckMousePointer(pointer);
  mousePointer_ = pointer;
}

void Label::SetMouseIcon(PictureRef icon) {
  CheckMouseIcon(icon);
  mouseIcon_ = std::move(icon);
}

HCURSOR Label::Cursor() const { return PointerCursor(mousePointer_, mouseIcon_); }

void Label::OnMouseDown(int16_t button, int16_t shift, float x, float y) { Raise(events.MouseDown, button, shift, x, y); }
void Label::OnMouseMove(int16_t button, int16_t shift, float x, float y) { Raise(events.MouseMove, button, shift, x, y); }
void Label::OnMouseUp(int16_t button, int16_t shift, float x, float y) { Raise(events.MouseUp, button, shift, x, y); }
void Label::OnClick() { Raise(events.Click); }
void Label::OnDblClick() { Raise(events.DblClick); }

}  // namespace tessel
